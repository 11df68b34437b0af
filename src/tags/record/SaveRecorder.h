#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/UnsetBytes.h"
#include "tags/file/FileIdentity.h"

namespace velmora {

// What a save replaces at the two ends of a file: the bytes [0, head.size()) give way to
// newHeadSize new bytes, and the last tail.size() bytes to newTailSize new bytes (an ID3v1
// record, 0 or 128 bytes); everything between is the same before and after.
struct ReplacedRegions {
    // Old head bytes the new file holds unchanged (a cover an album edit leaves alone):
    // head[oldAt, oldAt + length) is the new file's [newAt, newAt + length). The head need not
    // hold them (those bytes may be zero) but for their first and last kEdge bytes: they need
    // not be read or kept, only known again by their edges (a body moved or edited since shows
    // at its edges; the file's identity vouches for the rest).
    struct Kept {
        static constexpr std::uint64_t kEdge = 512;
        std::uint64_t oldAt = 0;
        std::uint64_t newAt = 0;
        std::uint64_t length = 0;
    };
    std::vector<Kept> kept;  // in order, apart
    UnsetBytes head;         // the middles of `kept` may be left unset
    std::vector<std::uint8_t> tail;
    std::uint64_t newHeadSize = 0;
    std::uint64_t newTailSize = 0;
};

// Told of each file a save changes, so the change can be undone later. BeforeWrite and
// BeforeRename come before anything is written or renamed; a false answer refuses that save,
// with `reason` in words. Called from the thread that saves.
class SaveRecorder {
  public:
    virtual ~SaveRecorder() = default;
    virtual bool BeforeWrite(const std::u16string& path, const ReplacedRegions& old,
                             std::u16string& reason) = 0;
    virtual void AfterWrite(const std::u16string& path, const FileIdentity& identity) = 0;
    virtual bool BeforeRename(const std::u16string& from, const std::u16string& to,
                              std::u16string& reason) = 0;
    virtual void AfterRename(const std::u16string& from, const std::u16string& to) = 0;
    // A group of saves recorded in one commit: from BeginGroup on, a true BeforeWrite only
    // holds the file's old ends until CommitGroup keeps them all (true) or none (false, with
    // `reason`). No file of the group is written before CommitGroup.
    virtual void BeginGroup() {}
    virtual bool CommitGroup(std::u16string& /*reason*/) { return true; }
};

}  // namespace velmora
