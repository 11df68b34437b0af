#include "replace/ReplaceFaults.h"

namespace velmora {

namespace {
thread_local ReplaceFaults* installed = nullptr;
}  // namespace

void ReplaceFaults::Fail(ReplaceStep step, std::uint64_t nth, int error) {
    rules_.push_back({step, nth, error});
}

int ReplaceFaults::Enter(ReplaceStep step) {
    const std::uint64_t count = ++counts_[Index(step)];
    for (const Rule& rule : rules_) {
        if (rule.step == step && rule.nth == count) {
            return rule.error;
        }
    }
    return 0;
}

ReplaceFaults* InstalledReplaceFaults() {
    return installed;
}

int InjectedReplaceFault(ReplaceStep step) {
    return installed != nullptr ? installed->Enter(step) : 0;
}

ScopedReplaceFaults::ScopedReplaceFaults(ReplaceFaults& faults) : previous_(installed) {
    installed = &faults;
}

ScopedReplaceFaults::~ScopedReplaceFaults() {
    installed = previous_;
}

}  // namespace velmora
