#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace velmora {

// Runs one body at a time on a thread of its own. The running flag is set before the
// thread starts and cleared as the body's last step, so a poller on another thread that
// sees it false knows every effect of the body is visible. There is no cancel: a body runs
// to its end.
class BackgroundWorker {
  public:
    BackgroundWorker() = default;
    ~BackgroundWorker() { Join(); }
    BackgroundWorker(const BackgroundWorker&) = delete;
    BackgroundWorker& operator=(const BackgroundWorker&) = delete;

    // Starts the body; false, starting nothing, while a previous body still runs.
    bool Start(std::function<void()> body);
    bool IsRunning() const { return running_.load(std::memory_order_acquire); }
    // Waits for the body to finish; returns at once when none was started.
    void Join();

  private:
    std::atomic<bool> running_{false};
    std::thread thread_;
};

}  // namespace velmora
