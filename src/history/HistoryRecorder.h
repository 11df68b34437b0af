#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tags/record/SaveRecorder.h"

namespace velmora::history {

class HistoryStore;

// Records one run that writes files as a batch of the store: the batch begins with the first
// file the run is about to change, so a run that changes nothing leaves no batch.
class HistoryRecorder : public SaveRecorder {
  public:
    // `origin`: "window", "cli" or "revert"; `reverts`: the batch a revert undoes, else 0.
    HistoryRecorder(HistoryStore& store, std::string origin, std::int64_t reverts = 0)
        : store_(store), origin_(std::move(origin)), reverts_(reverts) {}
    // Notes the saves not yet noted (a run cut short by an exception still records them).
    ~HistoryRecorder() override;

    bool BeforeWrite(const std::u16string& path, const ReplacedRegions& old,
                     std::u16string& reason) override;
    void AfterWrite(const std::u16string& path, const FileIdentity& identity) override;
    bool BeforeRename(const std::u16string& from, const std::u16string& to,
                      std::u16string& reason) override;
    void AfterRename(const std::u16string& from, const std::u16string& to) override;
    void BeginGroup() override;
    bool CommitGroup(std::u16string& reason) override;

    // Closes the batch with "<what>: N files" (or "1 file"); the batch's id, 0 when the run
    // changed no file.
    std::int64_t Finish(const std::u16string& what);

  private:
    // The entry of the file now at `path`, added (with `old`) when the run has none yet.
    void NoteSaved();
    bool Entry(const std::u16string& path, const ReplacedRegions* old, std::u16string& reason,
               std::int64_t& entry);

    HistoryStore& store_;
    std::string origin_;
    std::int64_t reverts_;
    std::int64_t batch_ = 0;
    // The entry of each file the run changed, by its present path.
    std::unordered_map<std::u16string, std::int64_t> entries_;
    // Saves done but not yet noted: noted many at a time (in groups, with the next group),
    // since every commit costs. Until then the entry is "recorded", which a revert treats as
    // unfinished (it skips the file).
    std::vector<std::pair<std::int64_t, FileIdentity>> saved_;
    // While a group is open: the paths whose entries it holds, and why it failed (then it
    // keeps none of them, and takes no more).
    bool grouped_ = false;
    bool inGroups_ = false;  // a group was begun: the run saves in groups
    std::vector<std::u16string> staged_;
    std::u16string groupFailure_;
    std::mutex mutex_;
};

}  // namespace velmora::history
