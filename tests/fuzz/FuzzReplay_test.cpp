#include <gtest/gtest.h>

#include "fuzz/FuzzHarness.h"

namespace velmora::fuzz {

// From AllocationCounter.cpp, which counts what operator new holds in this executable.
std::size_t StartAllocationPeak();
std::size_t AllocationPeakBytes(std::size_t start);

namespace {

namespace fs = std::filesystem;

// Fixed costs (pools, buffers, the regex engine's tables) plus a small multiple of the input.
constexpr std::size_t kFixedAllowance = 16u << 20;
constexpr std::size_t kPerInputByte = 8;

// Runs the input, turning a broken invariant or an escaped exception into a failure.
void RunOne(TargetFunction run, Input bytes, const std::string& what) {
    try {
        run(bytes);
    } catch (const std::exception& error) {
        ADD_FAILURE() << what << ": " << error.what();
    }
}

// Runs every file under the folder (none if there is no such folder), in name order.
void RunFilesUnder(TargetFunction run, const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::ranges::sort(files);
    for (const fs::path& file : files) {
        const std::string bytes = testing::ScratchDirectory::ReadFile(file);
        RunOne(run, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
               file.string());
    }
}

// The inputs that once failed, and those fuzzing kept for reaching new code.
TEST(FuzzReplay, KeptInputsPass) {
    const fs::path fuzz = fs::path(VELMORA_SOURCE_DIR) / "tests" / "fuzz";
    for (const char* folder : {"crashers", "corpus"}) {
        for (const auto& target : kTargets)
            RunFilesUnder(target.run, fuzz / folder / target.name);
    }
}

// Hostile sizes must not turn into allocations; seeds show each target's format.
TEST(FuzzReplay, ReadyMadeInputsPassInBoundedMemory) {
    // Without the replaced operator new the bound below would hold vacuously.
    const std::size_t start = StartAllocationPeak();
    { const std::vector<std::uint8_t> block(1 << 20); }
    ASSERT_GE(AllocationPeakBytes(start), std::size_t{1} << 20);
    for (const NamedInput& input : ReadyMadeInputs()) {
        const TargetFunction run = FindTarget(input.target);
        ASSERT_NE(run, nullptr) << input.target;
        const std::size_t base = StartAllocationPeak();
        RunOne(run, input.bytes, std::string(input.target) + "/" + input.name);
        EXPECT_LE(AllocationPeakBytes(base), kFixedAllowance + kPerInputByte * input.bytes.size())
            << input.target << "/" << input.name << " held " << AllocationPeakBytes(base);
    }
}

// Real files from other tag libraries: each loads, and survives an edit and a save.
TEST(FuzzReplay, PeerFilesLoadAndSave) {
    const fs::path peers = VELMORA_PEERS_DIR;
    if (!fs::is_directory(peers))
        GTEST_SKIP() << "no peer corpus at " << peers;
    for (const TargetFunction run : {Mp3Load, Mp3SaveRoundTrip})
        RunFilesUnder(run, peers);
}

}  // namespace
}  // namespace velmora::fuzz
