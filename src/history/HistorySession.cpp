#include "history/HistorySession.h"

#include "common/Messages.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "text/Utf8.h"

namespace velmora::history {

HistorySession::HistorySession(std::filesystem::path file, std::string origin,
                               MessageSink& messages)
    : file_(std::move(file)), origin_(std::move(origin)), messages_(messages) {}

HistorySession::~HistorySession() = default;

HistoryRecorder* HistorySession::Recorder(std::u16string& reason) {
    if (!recorder_) {
        std::u16string notice;
        std::string error;
        store_ = HistoryStore::Open(file_, notice, error);
        if (!notice.empty())
            ShowNotice(messages_, notice);
        if (!store_) {
            reason = text::FromUtf8(error);
            return nullptr;
        }
        recorder_ = std::make_unique<HistoryRecorder>(*store_, origin_);
        if (grouped_)
            recorder_->BeginGroup();
    }
    return recorder_.get();
}

bool HistorySession::BeforeWrite(const std::u16string& path, const ReplacedRegions& old,
                                 std::u16string& reason) {
    HistoryRecorder* recorder = Recorder(reason);
    return recorder != nullptr && recorder->BeforeWrite(path, old, reason);
}

void HistorySession::AfterWrite(const std::u16string& path, const FileIdentity& identity) {
    if (recorder_)
        recorder_->AfterWrite(path, identity);
}

bool HistorySession::BeforeRename(const std::u16string& from, const std::u16string& to,
                                  std::u16string& reason) {
    HistoryRecorder* recorder = Recorder(reason);
    return recorder != nullptr && recorder->BeforeRename(from, to, reason);
}

void HistorySession::AfterRename(const std::u16string& from, const std::u16string& to) {
    if (recorder_)
        recorder_->AfterRename(from, to);
}

void HistorySession::BeginGroup() {
    grouped_ = true;
    if (recorder_)
        recorder_->BeginGroup();
}

bool HistorySession::CommitGroup(std::u16string& reason) {
    grouped_ = false;
    return !recorder_ || recorder_->CommitGroup(reason);
}

std::int64_t HistorySession::Finish(const std::u16string& what, const HistoryLimits& limits) {
    if (!recorder_)
        return 0;
    const std::int64_t batch = recorder_->Finish(what);
    try {
        store_->Prune(limits.keepDays, limits.maxBytes);
    } catch (const std::exception&) {
        // The next run prunes again; this one's files are saved and recorded.
    }
    return batch;
}

}  // namespace velmora::history
