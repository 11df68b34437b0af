#include "scan/SaveThread.h"

#include <utility>

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
    if (IsRunning())
        return false;
    // Counted here, so the total is known before the worker's first poll.
    std::vector<Mp3File*> toSave = RecordsToSave(records_);
    progress_.Restart(toSave.size());
    return worker_.Start([this, toSave = std::move(toSave)](
                             const std::stop_token&) { SaveAll(context_, toSave, progress_); },
                         std::move(onDone));
}

std::size_t SaveThread::SaveAll(EngineContext& context, const RecordList& records) {
    ProgressCounters progress;
    return SaveAll(context, RecordsToSave(records), progress);
}

std::size_t SaveThread::SaveAll(EngineContext& context, const std::vector<Mp3File*>& toSave,
                                ProgressCounters& progress) {
    for (Mp3File* record : toSave)
        progress.CountOne(record->Save(context));
    return progress.Read().failed;
}

}  // namespace velmora
