#pragma once

#include <atomic>
#include <cstddef>

namespace velmora {

// How far a worker has come, as another thread reads it.
struct WorkProgress {
    std::size_t done = 0;    // files loaded, or records saved (successfully or not)
    std::size_t total = 0;   // for a save, the records to save; a load does not know
    std::size_t failed = 0;  // files whose load or save failed
};

// The counters a worker updates as it goes.
class ProgressCounters {
  public:
    void Restart(std::size_t total) {
        done_.store(0, std::memory_order_relaxed);
        failed_.store(0, std::memory_order_relaxed);
        total_.store(total, std::memory_order_release);
    }
    void CountOne(bool ok) {
        if (!ok)
            failed_.fetch_add(1, std::memory_order_relaxed);
        done_.fetch_add(1, std::memory_order_release);
    }
    WorkProgress Read() const {
        WorkProgress progress;
        progress.done = done_.load(std::memory_order_acquire);
        progress.total = total_.load(std::memory_order_acquire);
        progress.failed = failed_.load(std::memory_order_relaxed);
        return progress;
    }

  private:
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> total_{0};
    std::atomic<std::size_t> failed_{0};
};

}  // namespace velmora
