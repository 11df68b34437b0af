#pragma once

#include <atomic>
#include <thread>

namespace velmora {

// A lock for sections of a few instructions that rarely meet another thread. Meets the
// Lockable requirements, so std::lock_guard takes it.
class SpinLock {
  public:
    void lock() noexcept {
        while (locked_.exchange(true, std::memory_order_acquire)) {
            while (locked_.load(std::memory_order_relaxed)) {
                std::this_thread::yield();
            }
        }
    }
    bool try_lock() noexcept { return !locked_.exchange(true, std::memory_order_acquire); }
    void unlock() noexcept { locked_.store(false, std::memory_order_release); }

  private:
    std::atomic<bool> locked_{false};
};

}  // namespace velmora
