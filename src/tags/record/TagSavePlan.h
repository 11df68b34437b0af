#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tags/file/FileIdentity.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v2/StoredBody.h"
#include "tags/record/TagRegion.h"

namespace velmora {

class Id3v1Tag;
namespace text {
class CodePage;
}

// What the ID3v1 step does with the 128-byte record at the end of the file.
enum class Id3v1Action {
    Leave,   // the end of the file stays as it is
    Remove,  // an existing record is cut off (strip, or an empty tag under AutoDeleteV1)
    Write,   // the record overwrites an existing one or is appended
};

// The few bytes of the old file that decide a save.
struct FileFacts {
    std::uint64_t size = 0;
    // The first bytes of the file (as many as it has, up to 10), zero-filled.
    std::array<std::uint8_t, kTagHeaderSize> start{};
    // The file is longer than 128 bytes and its last 128 bytes begin with "TAG".
    bool id3v1AtEnd = false;
};

// One save of one file's tags: which file, and what to do with each of its two tags.
struct TagSave {
    std::u16string path;
    // The file as it was when its tags were read; a file that differs is not written.
    std::optional<FileIdentity> loadedAs;
    Id3v1Action id3v1 = Id3v1Action::Leave;
    Id3v1Record id3v1Record{};  // for Id3v1Action::Write
    // Remove the ID3v2 tag; takes precedence over id3v2Frames.
    bool stripId3v2 = false;
    // The serialised frames of the new ID3v2 tag, but for the bodies left in the file; none
    // leaves the ID3v2 tag as it is.
    std::optional<std::vector<std::uint8_t>> id3v2Frames;
    std::uint8_t id3v2Version = 3;
    // Where the bodies left in the file go in the frames (in order; `at` counts the bodies
    // before it): SaveTags copies them in from the file as it writes the tag, once the file
    // has passed the changed-on-disk check.
    std::vector<StoredSplice> storedSplices;
    // Every body the record's load left in the file: when the ID3v2 tag is rewritten or
    // stripped, SaveTags reads those the new tag does not hold into memory before anything
    // is written (copies of frames, as the edit journal keeps them, still need them).
    const StoredBodies* storedBodies = nullptr;

    // The ID3v1 step writes `tag`, or removes the record instead when the tag is empty and
    // `autoDeleteV1` is set.
    void WriteId3v1(const Id3v1Tag& tag, const text::CodePage& codePage, bool autoDeleteV1);
    bool ChangesSomething() const {
        return id3v1 != Id3v1Action::Leave || stripId3v2 || id3v2Frames.has_value();
    }
    // The size of the new tag's frames, the bodies left in the file included.
    std::uint64_t FramesSize() const;
};

// The file a save produces, described against the old one. The ID3v1 step comes first:
// the old file's bytes [0, keep) followed by id3v1Record make the intermediate file; the
// ID3v2 step then works on that.
struct SavePlan {
    enum class Outcome {
        InPlace,  // `tag` (possibly empty) overwrites the intermediate file from offset 0
        Move,     // the new file is `tag` followed by the intermediate file from tagEnd on
        Refused,  // the old tag's declared size runs past its file, or the tag is too large
    };
    Outcome outcome = Outcome::InPlace;
    std::u16string refusal;  // why, when the save is refused and the reason is the file's
    std::uint64_t oldSize = 0;
    std::uint64_t keep = 0;
    std::vector<std::uint8_t> id3v1Record;  // empty: no record at the end
    // The new ID3v2 tag (none when tagSize is 0): this header, the save's frames, then zero
    // bytes of padding up to tagSize. The writer lays it out only as it writes it, so that a
    // group of planned saves does not hold every file's covers.
    std::array<std::uint8_t, kTagHeaderSize> tagHeader{};
    std::uint64_t tagSize = 0;
    std::uint64_t tagEnd = 0;

    std::uint64_t IntermediateSize() const { return keep + id3v1Record.size(); }
    bool ChangesNothing() const {
        return outcome == Outcome::InPlace && keep == oldSize && id3v1Record.empty() &&
               tagSize == 0;
    }
};

// Decides the save from the few facts of the old file, without touching the disk.
SavePlan PlanSave(const FileFacts& facts, const TagSave& save);

}  // namespace velmora
