#include "scan/BackgroundWorker.h"

#include <utility>

namespace velmora {

bool BackgroundWorker::Start(Body body, std::function<void()> onDone) {
    if (IsRunning())
        return false;
    Join();
    running_.store(true, std::memory_order_release);
    thread_ = std::jthread(
        [this, body = std::move(body), onDone = std::move(onDone)](std::stop_token stop) {
            body(std::move(stop));
            running_.store(false, std::memory_order_release);
            if (onDone)
                onDone();
        });
    return true;
}

void BackgroundWorker::Join() {
    if (thread_.joinable())
        thread_.join();
}

}  // namespace velmora
