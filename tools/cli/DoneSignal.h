#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace velmora::cli {

// A worker's done notification the command line can wait on: the callback it hands the
// worker wakes the waiting thread at once, so no load waits for the end of a polling tick.
class DoneSignal {
  public:
    std::function<void()> Callback() {
        return [this] {
            {
                const std::lock_guard lock(mutex_);
                done_ = true;
            }
            changed_.notify_all();
        };
    }
    // True when the worker is done; false when `timeout` passed first.
    bool WaitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return done_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
};

}  // namespace velmora::cli
