#include "scan/BackgroundWorker.h"

#include <utility>

namespace velmora {

bool BackgroundWorker::Start(std::function<void()> body) {
    if (IsRunning())
        return false;
    Join();
    running_.store(true, std::memory_order_release);
    thread_ = std::thread([this, body = std::move(body)] {
        body();
        running_.store(false, std::memory_order_release);
    });
    return true;
}

void BackgroundWorker::Join() {
    if (thread_.joinable())
        thread_.join();
}

}  // namespace velmora
