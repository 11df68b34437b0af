#pragma once

#include <chrono>
#include <functional>

namespace velmora::ui {

// Runs long work on the interface thread in slices while its caller waits: a slice takes
// about 10 ms, then the event loop runs (input, paints, timers) before the next one. Work
// done within one slice starts no loop at all. Used for edits, undos and redos of many
// records: the records stay on this thread, so the list reads them between slices safely.
class SlicedRun {
  public:
    // Calls `step` (a little work; false once nothing is left) until it is done or Stop is
    // called; `started` runs once if the work outlasts its first slice, `progress` after
    // each slice once 200 ms have passed. True when done, false when stopped.
    bool Run(const std::function<bool()>& step, const std::function<void()>& started,
             const std::function<void()>& progress);
    // Ends the running work after the step at hand.
    void Stop() { stopped_ = true; }
    bool IsRunning() const { return running_; }

  private:
    // One slice; true while work is left.
    bool Slice(const std::function<bool()>& step);

    bool stopped_ = false;
    bool running_ = false;
};

}  // namespace velmora::ui
