#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzTargets.h"

// One executable per target: VELMORA_FUZZ_TARGET names the entry of kTargets it runs.
namespace {

velmora::fuzz::TargetFunction FindTarget() {
    for (const auto& target : velmora::fuzz::kTargets) {
        if (target.name == VELMORA_FUZZ_TARGET)
            return target.run;
    }
    std::fprintf(stderr, "no fuzz target named %s\n", VELMORA_FUZZ_TARGET);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const velmora::fuzz::TargetFunction run = FindTarget();
    run(velmora::fuzz::Input(data, size));
    return 0;
}
