#include "scan/SaveThread.h"

#include <utility>

#include "tags/record/GroupSave.h"

namespace velmora {
namespace {

std::vector<Mp3File*> RecordsToSave(const RecordList& records) {
    std::vector<Mp3File*> toSave;
    for (Mp3File* record : records.All()) {
        if (record->NeedsSave())
            toSave.push_back(record);
    }
    return toSave;
}

}  // namespace

bool SaveThread::Start(std::function<void()> onDone) {
    return Start(std::nullopt, {}, std::move(onDone));
}

bool SaveThread::Start(std::optional<SaveHistory> history, std::u16string what,
                       std::function<void()> onDone) {
    if (IsRunning())
        return false;
    // Counted here, so the total is known before the worker's first poll.
    std::vector<Mp3File*> toSave = RecordsToSave(records_);
    progress_.Restart(toSave.size());
    return worker_.Start(
        [this, toSave = std::move(toSave), history = std::move(history),
         what = std::move(what)](const std::stop_token&) {
            if (history)
                SaveRecorded(context_, *history, what, toSave, progress_);
            else
                SaveAll(context_, toSave, progress_);
        },
        std::move(onDone));
}

// The worker's own copy of the context carries the recorder, so nothing the window's thread
// reads changes under it.
void SaveThread::SaveRecorded(EngineContext& context, const SaveHistory& history,
                              const std::u16string& what, const std::vector<Mp3File*>& toSave,
                              ProgressCounters& progress) {
    history::HistorySession session(history.file, "window", context.messages);
    EngineContext recorded = context;
    recorded.recorder = &session;
    SaveAll(recorded, toSave, progress);
    session.Finish(what, history.limits);
}

std::size_t SaveThread::SaveAll(EngineContext& context, const RecordList& records) {
    ProgressCounters progress;
    return SaveAll(context, RecordsToSave(records), progress);
}

std::size_t SaveThread::SaveAll(EngineContext& context, const std::vector<Mp3File*>& toSave,
                                ProgressCounters& progress) {
    SaveInGroups(toSave, context, [&](Mp3File&, bool saved) { progress.CountOne(saved); });
    return progress.Read().failed;
}

}  // namespace velmora
