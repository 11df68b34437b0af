#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

#include "tags/id3v2/StoredBody.h"

namespace velmora {

namespace text {
class CodePage;
}
class Id3v2Frame;
class Id3v2Tag;
class StoredBodySource;

// Thrown when a frame cannot be represented in the version asked for (an ID3v2.4 frame of
// 256 MiB or more has no synchsafe size).
class FrameTooLargeError : public std::length_error {
  public:
    using std::length_error::length_error;
};

// The encoding byte a frame is written with: its stored byte, except that text the code
// page cannot represent is not written as encoding 0, and an ID3v2.3 tag carries no
// encoding 2 or 3: both become encoding 1.
std::uint8_t OutputEncoding(const Id3v2Frame& frame, std::uint8_t majorVersion,
                            const text::CodePage& codePage);

// The frame's body as the file receives it (before compression or encryption): its fields
// written out, or the body as read when the fields still write what they wrote at load. A
// last field left in the file (StoredBytesField) is read through `source`; without a source
// such a frame throws std::logic_error.
std::vector<std::uint8_t> SerializeFrameBody(const Id3v2Frame& frame, std::uint8_t majorVersion,
                                             const text::CodePage& codePage,
                                             const StoredBodySource* source = nullptr);
// Only the fields written out, into `out` (a last field left in the file throws
// std::logic_error).
void SerializeFields(const Id3v2Frame& frame, std::uint8_t majorVersion,
                     const text::CodePage& codePage, std::vector<std::uint8_t>& out);

// For a frame just read from `body`: keeps the body in the frame when writing its fields
// would give other bytes in the same encoding, so an unedited frame is written back byte for
// byte. `scratch` is reused memory.
void KeepBodyIfRewriteDiffers(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                              std::uint8_t majorVersion, const text::CodePage& codePage,
                              std::vector<std::uint8_t>& scratch);

// The frames of the tag in list order, each with its 10-byte header (ID3v2.3: plain sizes,
// ID3v2.4: synchsafe sizes) and the extra header bytes of an encrypted, compressed or grouped
// frame in that version's layout; frames with an empty body are left out. No tag header,
// padding or unsynchronisation: the writer adds those. Marks nothing clean (the writer does
// that once the tag is on disk).
// Bodies left in the file are read through `source`, as SerializeFrameBody does.
std::vector<std::uint8_t> SerializeTag(const Id3v2Tag& tag, std::uint8_t majorVersion,
                                       const text::CodePage& codePage,
                                       const StoredBodySource* source = nullptr);

// The frames as SerializeTag writes them, but for the bodies left in the file: `bytes` leaves
// them out, and each splice says where one goes in the frames that hold it (its `at` counts
// the bodies before it). A save copies them in from the file as it writes the tag, once it
// has checked that the file is as loaded.
struct SerializedFrames {
    std::vector<std::uint8_t> bytes;
    std::vector<StoredSplice> splices;
};
SerializedFrames SerializeTagLeavingStored(const Id3v2Tag& tag, std::uint8_t majorVersion,
                                           const text::CodePage& codePage);

}  // namespace velmora
