#pragma once

#include <atomic>
#include <functional>
#include <stop_token>
#include <thread>

namespace velmora {

// Runs one body at a time on a thread of its own. The running flag is set before the
// thread starts and cleared as the body's last step, so a poller on another thread that
// sees it false knows every effect of the body is visible; the done callback, if any, runs
// on the worker thread right after. A body that watches its stop token can be asked to
// end early.
class BackgroundWorker {
  public:
    using Body = std::function<void(std::stop_token)>;

    BackgroundWorker() = default;
    ~BackgroundWorker() { Join(); }
    BackgroundWorker(const BackgroundWorker&) = delete;
    BackgroundWorker& operator=(const BackgroundWorker&) = delete;

    // Starts the body; false, starting nothing, while a previous body still runs. The done
    // callback must not wait for the thread that starts or joins this worker.
    bool Start(Body body, std::function<void()> onDone = {});
    bool IsRunning() const { return running_.load(std::memory_order_acquire); }
    // Asks the running body to stop; it ends when it next looks at its token.
    void RequestStop() { thread_.request_stop(); }
    // Waits for the body and the done callback; returns at once when none was started.
    void Join();

  private:
    std::atomic<bool> running_{false};
    std::jthread thread_;
};

}  // namespace velmora
