#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/AllocationPeak.h"
#include "fuzz/FuzzInputs.h"
#include "fuzz/FuzzTargets.h"
#include "support/ScratchDirectory.h"

namespace velmora::fuzz {
namespace {

namespace fs = std::filesystem;

// Fixed costs (pools, buffers, the regex engine's tables) plus a small multiple of the input.
constexpr std::size_t kFixedAllowance = 16u << 20;
constexpr std::size_t kPerInputByte = 8;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    const std::string bytes = testing::ScratchDirectory::ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

// Runs the input, turning a broken invariant or an escaped exception into a failure.
void RunOne(TargetFunction run, const std::vector<std::uint8_t>& bytes, const std::string& what) {
    try {
        run(Input(bytes));
    } catch (const std::exception& error) {
        ADD_FAILURE() << what << ": " << error.what();
    }
}

std::vector<fs::path> FilesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The inputs that once failed, and those fuzzing kept for reaching new code.
TEST(FuzzReplay, KeptInputsPass) {
    const fs::path fuzz = fs::path(VELMORA_SOURCE_DIR) / "tests" / "fuzz";
    for (const char* folder : {"crashers", "corpus"}) {
        for (const auto& target : kTargets) {
            for (const fs::path& file : FilesUnder(fuzz / folder / target.name))
                RunOne(target.run, ReadAll(file), file.string());
        }
    }
}

// Without the replaced operator new the bound below would hold vacuously.
TEST(FuzzReplay, AllocationPeakCountsOperatorNew) {
    const AllocationPeak peak;
    { const std::vector<std::uint8_t> block(1 << 20); }
    EXPECT_GE(peak.Bytes(), std::size_t{1} << 20);
}

// Hostile sizes must not turn into allocations; seeds show each target's format.
TEST(FuzzReplay, ReadyMadeInputsPassInBoundedMemory) {
    std::vector<NamedInput> inputs = HostileInputs();
    for (NamedInput& seed : SeedInputs())
        inputs.push_back(std::move(seed));
    for (const NamedInput& input : inputs) {
        const TargetFunction run = FindTarget(input.target);
        ASSERT_NE(run, nullptr) << input.target;
        const AllocationPeak peak;
        RunOne(run, input.bytes, std::string(input.target) + "/" + input.name);
        EXPECT_LE(peak.Bytes(), kFixedAllowance + kPerInputByte * input.bytes.size())
            << input.target << "/" << input.name << " held " << peak.Bytes() << " bytes";
    }
}

// Real files from other tag libraries: each loads, and survives an edit and a save.
TEST(FuzzReplay, PeerFilesLoadAndSave) {
    const fs::path peers = VELMORA_PEERS_DIR;
    if (!fs::is_directory(peers))
        GTEST_SKIP() << "no peer corpus at " << peers;
    for (const fs::path& file : FilesUnder(peers)) {
        const auto bytes = ReadAll(file);
        RunOne(Mp3Load, bytes, "mp3_load " + file.string());
        RunOne(Mp3SaveRoundTrip, bytes, "mp3_save " + file.string());
    }
}

}  // namespace
}  // namespace velmora::fuzz
