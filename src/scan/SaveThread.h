#pragma once

#include "scan/BackgroundWorker.h"
#include "scan/RecordList.h"
#include "tags/EngineContext.h"

namespace velmora {

// Saves, on a background thread, every record of the list that needs saving, in list
// order. A record whose save fails has shown its message and still needs saving; the
// others are saved all the same.
class SaveThread {
  public:
    SaveThread(EngineContext& context, RecordList& records)
        : context_(context), records_(records) {}
    ~SaveThread() { worker_.Join(); }

    // False while a save runs.
    bool Start();
    bool IsRunning() const { return worker_.IsRunning(); }
    void Join() { worker_.Join(); }

    // The same work on the calling thread; the number of records whose save failed.
    static std::size_t SaveAll(EngineContext& context, const RecordList& records);

  private:
    EngineContext& context_;
    RecordList& records_;
    BackgroundWorker worker_;
};

}  // namespace velmora
