#include "tags/file/BufferedFileFaults.h"

#include <thread>

namespace velmora {

namespace {
thread_local FileFaults* installedFaults = nullptr;
}

void FileFaults::Fail(FileCall call, std::uint64_t nth, int error, bool andLater) {
    rules_[Index(call)].push_back({nth, error, andLater});
}

void FileFaults::ShortenWrite(std::uint64_t nth, std::size_t bytes) {
    shortWrites_.emplace_back(nth, bytes);
}

int FileFaults::Enter(FileCall call) {
    const std::uint64_t number = ++counts_[Index(call)];
    if (delays_[Index(call)].count() > 0)
        std::this_thread::sleep_for(delays_[Index(call)]);
    for (const Rule& rule : rules_[Index(call)]) {
        if (number == rule.nth || (rule.andLater && number > rule.nth)) {
            return rule.error;
        }
    }
    return 0;
}

int FileFaults::EnterWrite(std::uint64_t offset, std::size_t& size) {
    const int error = Enter(FileCall::Write);
    if (error == 0) {
        for (const auto& [nth, bytes] : shortWrites_) {
            if (nth == Count(FileCall::Write) && bytes < size) {
                size = bytes;
            }
        }
    }
    writes_.push_back({offset, size});
    return error;
}

FileFaults* InstalledFileFaults() {
    return installedFaults;
}

ScopedFileFaults::ScopedFileFaults(FileFaults& faults) : previous_(installedFaults) {
    installedFaults = &faults;
}

ScopedFileFaults::~ScopedFileFaults() {
    installedFaults = previous_;
}

}  // namespace velmora
