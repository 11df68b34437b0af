#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "tags/record/SaveRecorder.h"

namespace velmora {
class MessageSink;
}

namespace velmora::history {

class HistoryRecorder;
class HistoryStore;

// How much history to keep.
struct HistoryLimits {
    std::uint32_t keepDays = 0;
    std::uint64_t maxBytes = 0;
};

// The history of one run that may write files: the store is opened with the first file the
// run is about to change (a run that changes nothing touches no store), a store that cannot
// be opened refuses each save with the reason, and a moved-aside broken store is told once.
class HistorySession : public SaveRecorder {
  public:
    HistorySession(std::filesystem::path file, std::string origin, MessageSink& messages);
    ~HistorySession() override;

    bool BeforeWrite(const std::u16string& path, const ReplacedRegions& old,
                     std::u16string& reason) override;
    void AfterWrite(const std::u16string& path, const FileIdentity& identity) override;
    bool BeforeRename(const std::u16string& from, const std::u16string& to,
                      std::u16string& reason) override;
    void AfterRename(const std::u16string& from, const std::u16string& to) override;
    void BeginGroup() override;
    bool CommitGroup(std::u16string& reason) override;

    // Closes the batch ("<what>: N files") and prunes the store to `limits`; the batch's id,
    // 0 when the run wrote nothing.
    std::int64_t Finish(const std::u16string& what, const HistoryLimits& limits);

  private:
    HistoryRecorder* Recorder(std::u16string& reason);

    std::filesystem::path file_;
    std::string origin_;
    MessageSink& messages_;
    std::unique_ptr<HistoryStore> store_;
    std::unique_ptr<HistoryRecorder> recorder_;
    // A group begun before the store was opened is begun on the recorder when it is made.
    bool grouped_ = false;
};

}  // namespace velmora::history
