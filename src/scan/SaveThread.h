#pragma once

#include <functional>
#include <optional>
#include <string>

#include "scan/BackgroundWorker.h"
#include "scan/RecordList.h"
#include "scan/SaveHistory.h"
#include "scan/WorkProgress.h"
#include "tags/record/EngineContext.h"

namespace velmora {

// Saves, on a background thread, every record of the list that needs saving, in list
// order. A record whose save fails has shown its message and still needs saving; the
// others are saved all the same. A save is not stopped half way. With a history, the run is
// one batch of it, described as `what` ("Album, Rename": the actions saved).
class SaveThread {
  public:
    SaveThread(EngineContext& context, RecordList& records)
        : context_(context), records_(records) {}
    ~SaveThread() { worker_.Join(); }

    // `onDone` runs on the worker once the running flag is clear. False while a save runs.
    bool Start(std::function<void()> onDone = {});
    bool Start(std::optional<SaveHistory> history, std::u16string what,
               std::function<void()> onDone = {});
    bool IsRunning() const { return worker_.IsRunning(); }
    void Join() { worker_.Join(); }
    // The records to save (counted when the save starts), those done so far and how many of
    // them failed.
    WorkProgress Progress() const { return progress_.Read(); }

    // The same work on the calling thread; the number of records whose save failed.
    static std::size_t SaveAll(EngineContext& context, const RecordList& records);

  private:
    static void SaveRecorded(EngineContext& context, const SaveHistory& history,
                             const std::u16string& what, const std::vector<Mp3File*>& toSave,
                             ProgressCounters& progress);
    static std::size_t SaveAll(EngineContext& context, const std::vector<Mp3File*>& toSave,
                               ProgressCounters& progress);

    EngineContext& context_;
    RecordList& records_;
    ProgressCounters progress_;
    BackgroundWorker worker_;
};

}  // namespace velmora
