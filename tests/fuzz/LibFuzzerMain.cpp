#include "fuzz/FuzzHarness.h"

// One executable per target: VELMORA_FUZZ_TARGET names the entry of kTargets it runs.
static_assert(velmora::fuzz::FindTarget(VELMORA_FUZZ_TARGET) != nullptr, "no such fuzz target");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::fuzz::FindTarget(VELMORA_FUZZ_TARGET)(velmora::fuzz::Input(data, size));
    return 0;
}
