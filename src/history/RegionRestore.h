#pragma once

#include <memory>
#include <optional>
#include <string>

#include "history/TagRecipe.h"
#include "tags/file/FileIdentity.h"
#include "tags/record/SaveRecorder.h"

namespace velmora::history {

// Puts `old` back into the file at `path`: its first old.newHeadSize bytes become old.head
// and its last old.newTailSize bytes old.tail; the bytes between stay as they are. A save
// like any other: the file is locked, must still be `expected` (when given), its present
// regions are recorded first, and a change of size goes through a replacement file. Without
// `expected` (a forced revert) the old regions replace the tags the file has now. None,
// with `reason` in words, when it was refused or failed; else the file's new identity.
std::optional<FileIdentity> RestoreRegions(const std::u16string& path,
                                           const std::optional<FileIdentity>& expected,
                                           ReplacedRegions old, SaveRecorder& recorder,
                                           std::u16string& reason);

// RestoreRegions in two halves, so that a group of files is recorded in one commit: the
// constructor opens, locks and checks the file and tells the recorder its present regions;
// Finish writes the old ones (or, with `notRecorded`, refuses: the group was not kept). The
// file stays open and locked in between.
class Restoring;
class PendingRestore {
  public:
    PendingRestore(const std::u16string& path, const std::optional<FileIdentity>& expected,
                   ReplacedRegions old, SaveRecorder& recorder);
    ~PendingRestore();
    PendingRestore(const PendingRestore&) = delete;
    PendingRestore& operator=(const PendingRestore&) = delete;

    std::optional<FileIdentity> Finish(SaveRecorder& recorder, const std::u16string* notRecorded,
                                       std::u16string& reason);

  private:
    std::unique_ptr<Restoring> restoring_;  // none once refused or finished
    std::u16string reason_;
};

// Reads stretches of the file now at `path`: the bodies a save left there.
InFileLookup BytesInFile(const std::u16string& path);

}  // namespace velmora::history
