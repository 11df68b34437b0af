#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/BackgroundWorker.h"
#include "scan/RecordList.h"
#include "scan/WorkProgress.h"
#include "settings/SettingNames.h"
#include "tags/record/EngineContext.h"

namespace velmora {

// Loads every MP3 file of a directory (and, with Recurse, of its subdirectories) into the record
// list on a background thread, which walks the folders while a pool of readers loads several
// files at once; records arrive in the walk's order. The window polls IsRunning or waits for the
// done callback, and reads Records().From(n) while the load goes on.
class LoaderThread {
  public:
    // The context must outlive the loader; its options and message sink are used from the
    // worker thread.
    explicit LoaderThread(EngineContext& context) : context_(context) {}
    // Stops a running load after the file it is loading.
    ~LoaderThread() {
        worker_.RequestStop();
        worker_.Join();
    }

    // Empties the record list, then keeps `directory` without one trailing "/" (the root
    // becomes the empty text, which the walk reads as "/"). Only while no worker runs. The
    // records taken out are destroyed by the next load's worker before it walks, so tearing
    // down a large list never holds the caller's thread.
    void SetDirectory(std::u16string directory);
    // Empties the record list as SetDirectory does and keeps the directory.
    void ResetList() { SetDirectory(directory_); }
    // Something that goes with the previous list (its undo history): the next load's worker
    // destroys it with the list's records.
    void Retire(std::shared_ptr<void> leftover) { leftovers_.push_back(std::move(leftover)); }
    const std::u16string& Directory() const { return directory_; }
    // Whether the next load descends into subdirectories (the setting Recurse, which the
    // caller reads at the start of each load). Only while no worker runs.
    void SetRecurse(bool recurse) { recurse_ = recurse; }

    // Starts the load: the directory is walked and each file appended as soon as it has loaded.
    // `onDone` runs on the worker once the running flag is clear. False while a worker runs.
    bool Start(std::function<void()> onDone = {});
    bool IsRunning() const { return worker_.IsRunning(); }
    // Runs first on each thread that reads files (a test or benchmark installs its file-call
    // seam there). Only while no worker runs.
    void SetReaderStart(std::function<void()> start) { readerStart_ = std::move(start); }
    // Ends the load after the file being loaded; the records loaded so far stay.
    void Stop() { worker_.RequestStop(); }
    void Join() { worker_.Join(); }
    // Files loaded so far in this load, and how many of them failed to open or parse.
    WorkProgress Progress() const { return progress_.Read(); }

    RecordList& Records() { return records_; }
    const RecordList& Records() const { return records_; }

    // Files read at once: a cold disk or a network share answers many reads in flight much
    // sooner than one after another.
    static constexpr std::size_t kReaders = 16;
    // Another number of readers, for measuring. Only while no worker runs.
    void SetReaders(std::size_t readers) { readers_ = readers; }

  private:
    void Load(const std::stop_token& stop);

    EngineContext& context_;
    std::u16string directory_;
    bool recurse_ = settings::kRecurse.fallback;
    RecordList records_;
    // Records of the previous list, waiting for the next load to destroy them.
    std::vector<std::unique_ptr<Mp3File>> retired_;
    std::vector<std::shared_ptr<void>> leftovers_;
    ProgressCounters progress_;
    std::function<void()> readerStart_;
    std::size_t readers_ = kReaders;
    // Last, so that the worker ends before the members it uses go.
    BackgroundWorker worker_;
};

}  // namespace velmora
