#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzTargets.h"

// One executable per target: VELMORA_FUZZ_TARGET names the entry of kTargets it runs.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const velmora::fuzz::TargetFunction run = [] {
        const auto found = velmora::fuzz::FindTarget(VELMORA_FUZZ_TARGET);
        if (found == nullptr) {
            std::fprintf(stderr, "no fuzz target named %s\n", VELMORA_FUZZ_TARGET);
            std::abort();
        }
        return found;
    }();
    run(velmora::fuzz::Input(data, size));
    return 0;
}
