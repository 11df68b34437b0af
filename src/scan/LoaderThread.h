#pragma once

#include <string>

#include "scan/BackgroundWorker.h"
#include "scan/RecordList.h"
#include "tags/EngineContext.h"

namespace velmora {

// Loads every MP3 file of a directory (and, with the setting Recurse, of its
// subdirectories) into the record list on a background thread. The window polls
// IsRunning and reads Records().From(n) while the load goes on.
class LoaderThread {
  public:
    // The context must outlive the loader; its settings and message sink are used from the
    // worker thread.
    explicit LoaderThread(EngineContext& context) : context_(context) {}
    ~LoaderThread() { worker_.Join(); }

    // Destroys every record, then keeps `directory` without one trailing "/" (the root
    // becomes the empty text, which the walk reads as "/"). Only while no worker runs.
    void SetDirectory(std::u16string directory);
    // Destroys every record and keeps the directory.
    void ResetList() { SetDirectory(directory_); }
    const std::u16string& Directory() const { return directory_; }

    // Starts the load: Recurse (default true) is read on the worker, then the directory is
    // walked and each file appended as soon as it has loaded. False while a worker runs.
    bool Start();
    bool IsRunning() const { return worker_.IsRunning(); }
    void Join() { worker_.Join(); }

    RecordList& Records() { return records_; }
    const RecordList& Records() const { return records_; }

  private:
    void Load();

    EngineContext& context_;
    std::u16string directory_;
    RecordList records_;
    BackgroundWorker worker_;
};

}  // namespace velmora
