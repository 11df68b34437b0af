#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "tags/file/ScratchBuffer.h"
#include "tags/id3v2/EncodingPolicy.h"
#include "tags/id3v2/FrameWalk.h"
#include "tags/id3v2/StoredBody.h"
#include "tags/id3v2/StoredBytesField.h"

namespace velmora {

namespace text {
class CodePage;
}
class BufferedFile;
class Id3v2Frame;
class Id3v2Tag;
struct BodyReadContext;

// What the writer needs to know about the tag found at the start of a file.
struct Id3v2TagOnDisk {
    bool present = false;  // "ID3", a major version of 2, 3 or 4 and a synchsafe size
    std::uint8_t majorVersion = 0;
    std::uint8_t revision = 0;
    std::uint8_t flags = 0;
    std::uint32_t declaredSize = 0;  // the header's size: bytes after the 10-byte header
    bool hasFooter = false;          // ID3v2.4 flag 0x10: ten more bytes follow the body
    // The first byte after header, body and footer (0 without a tag).
    std::uint64_t audioOffset = 0;
    // The declared tag (with its footer) runs past the end of the file; it must not be
    // written over in place.
    bool truncated = false;
};

// Reads the ID3v2 tag at the start of a file: ID3v2.2, 2.3 and 2.4, unsynchronisation,
// extended headers, compressed frames. It never reads outside the file, however its sizes
// lie. Owns its scratch memory, so one reader serves one thread; reuse it for many files.
class Id3v2Reader {
  public:
    // `policy` chooses the encoding of frames the reader rebuilds.
    Id3v2Reader(const text::CodePage& codePage, EncodingPolicy policy);

    // Appends the frames of the file's tag to `tag`. File errors propagate as
    // CFileExceptionEx; format errors inside the tag never do: what was read is kept. With
    // `leftInFile`, picture data and large binary bodies stay in the file (LeaveTailInFile)
    // and are registered there.
    Id3v2TagOnDisk Read(BufferedFile& file, Id3v2Tag& tag, StoredBodies* leftInFile = nullptr);
    // The same over the first bytes of a file held in memory (all of them, or at least the
    // whole tag) and the file's size.
    Id3v2TagOnDisk ReadFromMemory(std::span<const std::uint8_t> fileStart, std::uint64_t fileSize,
                                  Id3v2Tag& tag);

    // The facts of a 10-byte header in a file of the given size (present false when the
    // bytes are no usable tag header).
    static Id3v2TagOnDisk ExamineHeader(std::span<const std::uint8_t> header,
                                        std::uint64_t fileSize);

    // The reader's scratch memory. Nothing read is kept in it once Read has returned, so the
    // rest of a load (the audio search) may use it instead of allocating its own.
    ScratchBuffer& Scratch() { return tagBody_; }

  private:
    void ReadBody(const Id3v2TagOnDisk& onDisk, std::span<const std::uint8_t> body, Id3v2Tag& tag);
    void ReadFrames(std::uint8_t majorVersion, std::span<const std::uint8_t> area,
                    bool unsynchronisedFrames, Id3v2Tag& tag);
    void ReadV3V4Frame(std::uint8_t majorVersion, const RawFrame& raw, bool unsynchronised,
                       const BodyReadContext& context, Id3v2Tag& tag);
    void ReadV2Frame(const RawFrame& raw, const BodyReadContext& context, int depth, Id3v2Tag& tag);
    // Where `stored` lies in the file, when bodies are left there and it lies in the tag as
    // read from it.
    std::optional<StoredSpan> WhereInFile(std::span<const std::uint8_t> stored, bool unsynchronised,
                                          bool compressed) const;
    // Fills the frame from its decoded body, leaving a large tail `where` it lies; keeps the
    // body as read when its fields would not write it back unchanged in `keepVersion`.
    void ReadPlainBody(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                       const std::optional<StoredSpan>& where, const BodyReadContext& context,
                       std::optional<std::uint8_t> keepVersion);
    // Leaves the frame's last field in the file when `stored` lies in the tag as read from it.
    void LeaveInFile(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                     std::span<const std::uint8_t> stored, bool unsynchronised, bool compressed);

    const text::CodePage& codePage_;
    EncodingPolicy policy_;
    ScratchBuffer tagBody_;
    std::vector<RawFrame> rawFrames_;      // the frames of the tag being read
    std::vector<std::uint8_t> rewritten_;  // a frame body as the fields write it
    // While a file's tag is read with bodies left in it: where they are registered, and the
    // tag's bytes as they lie in the file after its header (empty when the frames are read
    // from a decoded copy).
    StoredBodies* leftInFile_ = nullptr;
    std::span<const std::uint8_t> inFile_;
};

}  // namespace velmora
