#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {
namespace text {
class CodePage;
}
class Id3v2Tag;
class StoredBodySource;
}  // namespace velmora

namespace velmora::fuzz {

// One frame as a save writes it: ID, body bytes and how the body is stored.
struct FrameSnapshot {
    std::string id;
    std::vector<std::uint8_t> body;
    bool compressed = false;
    std::optional<std::uint8_t> encryptionMethod;
    std::optional<std::uint8_t> groupId;

    friend bool operator==(const FrameSnapshot&, const FrameSnapshot&) = default;
};

// Every frame of the tag, serialized for the given major version; bodies a load left in the
// file are read through `source` (the record).
std::vector<FrameSnapshot> SnapshotFrames(const Id3v2Tag& tag, std::uint8_t majorVersion,
                                          const text::CodePage& codePage,
                                          const StoredBodySource* source = nullptr);

}  // namespace velmora::fuzz
