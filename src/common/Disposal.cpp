#include "common/Disposal.h"

#include <utility>

namespace velmora {

Disposal::Disposal() : thread_([this] { Run(); }) {}

Disposal::~Disposal() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Disposal::Drop(std::shared_ptr<void> garbage) {
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(garbage));
    }
    wake_.notify_one();
}

void Disposal::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
        if (waiting_.empty())
            return;
        std::vector<std::shared_ptr<void>> batch = std::exchange(waiting_, {});
        lock.unlock();
        batch.clear();
        lock.lock();
    }
}

}  // namespace velmora
