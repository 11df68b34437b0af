#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tags/file/FileIdentity.h"
#include "tags/record/TagSavePlan.h"

namespace velmora {

struct EngineContext;

// How a save ended, beyond success.
struct TagSaveOutcome {
    // Nothing was written: the file is not as `loadedAs` describes it.
    bool changedOnDisk = false;
    // The file's identity after a successful save.
    FileIdentity identity;
};

// Writes the save into the file: the ID3v1 step first, then the ID3v2 tag. A save that
// changes nothing opens nothing. The save holds an exclusive lock on the file throughout and
// writes nothing when the file is no longer the one the path named when the lock was taken,
// or no longer as `loadedAs` describes it ("PATH changed on disk since it was loaded; reload
// it before saving"). A tag that fits the old tag's space is rewritten in place (the audio
// is not touched); a save that must move the audio (a growing tag, a new tag, a stripped
// tag) writes the whole new file beside the old one and renames it over it, and is refused
// when no file can be created in that folder.
// On failure shows a SaveOpenFailed or SaveFailed message (with the system error of the
// failing call, or why the file itself refuses) or FolderNotWritable, and returns false; an
// old tag whose declared size runs past the end of its file is such a failure, and the file
// is then left as it was. `outcome`, when given, tells more.
bool SaveTags(const TagSave& save, EngineContext& context, TagSaveOutcome* outcome = nullptr);

// SaveTags in two halves, so that the old ends of a group of files are recorded in one
// commit before any of them is written: the constructor opens, locks and checks the file,
// plans the save and tells the recorder its old ends; Finish writes it and shows what failed.
// The file stays open and locked in between; `save` must outlive this.
class PendingTags {
  public:
    PendingTags(const TagSave& save, EngineContext& context);
    ~PendingTags();
    PendingTags(const PendingTags&) = delete;
    PendingTags& operator=(const PendingTags&) = delete;

    // The bytes held until Finish (the new tag's frames, but for the bodies left in the file).
    std::uint64_t HeldBytes() const;
    // `notRecorded`, when given, says why the recorder could not keep the old ends after all:
    // the file is then refused as for a failed record.
    bool Finish(EngineContext& context, TagSaveOutcome* outcome,
                const std::u16string* notRecorded = nullptr);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace velmora
