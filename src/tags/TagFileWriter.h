#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tags/FileIdentity.h"

namespace velmora {

class Id3v1Tag;
struct EngineContext;

// One save of one file's tags: what to do with each of the two tags.
struct TagSaveRequest {
    std::u16string path;
    // Cut off the ID3v1 record at the end of the file; takes precedence over writeV1.
    bool stripV1 = false;
    // The ID3v1 tag to write over the old record or append (an empty tag removes the record
    // instead when AutoDeleteV1 is set); null leaves the end of the file alone. The caller
    // passes it only when it was modified, and clears its flag after a successful save.
    const Id3v1Tag* writeV1 = nullptr;
    // Remove the ID3v2 tag; takes precedence over v2Frames.
    bool stripV2 = false;
    // The serialised frames of the new ID3v2 tag; none leaves the ID3v2 tag as it is.
    std::optional<std::vector<std::uint8_t>> v2Frames;
    // Major version in the new tag's header: 3 or 4.
    std::uint8_t v2Version = 3;
    // The file as it was when its tags were read; a file that differs is not written.
    std::optional<FileIdentity> loadedAs;

    bool ChangesSomething() const { return stripV1 || writeV1 != nullptr || stripV2 || v2Frames; }
};

// How a save ended, beyond success.
struct TagSaveOutcome {
    // Nothing was written: the file is not as `loadedAs` describes it.
    bool changedOnDisk = false;
    // The file's identity after a successful save.
    FileIdentity identity;
};

// Writes the request into the file: the ID3v1 step first, then the ID3v2 tag. A request that
// changes nothing opens nothing. The save holds an exclusive lock on the file throughout and
// writes nothing when the file is no longer the one the path named when the lock was taken,
// or no longer as `loadedAs` describes it ("PATH changed on disk since it was loaded; reload
// it before saving"). A tag that fits the old tag's space is rewritten in place (the audio
// is not touched); a save that must move the audio (a growing tag, a new tag, a stripped
// tag) writes the whole new file beside the old one and renames it over it, and is refused
// when no file can be created in that folder.
// On failure shows "Couldn't open\n" + path or "Couldn't save ID3v2 tag to\n" + path
// (caption "Error", with the reason when the folder takes no files) and returns false; an
// old tag whose declared size runs past the end of its file is such a failure, and the file
// is then left as it was. `outcome`, when given, tells more.
bool SaveTags(const TagSaveRequest& request, EngineContext& context,
              TagSaveOutcome* outcome = nullptr);

}  // namespace velmora
