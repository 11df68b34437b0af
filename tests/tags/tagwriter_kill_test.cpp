#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "TagWriterTestSupport.h"

namespace velmora {
namespace {

using testing::Pattern;
using testing::ScratchDirectory;

constexpr int kRounds = 30;
constexpr char kName[] = "song.mp3";

// Forks a child that saves `request` and leaves at once; returns its id.
pid_t StartSave(testing::SaveHarness& harness, const TagSaveRequest& request) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool saved = SaveTags(request, harness.context);
        ::_exit(saved ? 0 : 1);
    }
    return child;
}

// Removes the temporary files a killed save leaves beside the song, and counts them.
int RemoveLeftovers(const ScratchDirectory& dir) {
    int removed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root())) {
        if (entry.path().filename() != kName) {
            std::filesystem::remove(entry.path());
            ++removed;
        }
    }
    return removed;
}

// A save that grows the tag of a large file is killed at random moments: each time the file
// is the old one or the complete new one, never a mixture.
TEST(TagSaveKillTest, KilledSaveLeavesTheOldFileOrTheNewOne) {
    testing::SaveHarness harness;
    const std::string old =
        testing::TagBytes(200, Pattern(200, 1)) + Pattern(6 << 20, 2) + "TAG" + Pattern(125, 3);
    const auto path = harness.dir.Path(kName);
    TagSaveRequest request = harness.Request(path);
    request.v2Frames = testing::Bytes(Pattern(60'000, 4));
    testing::ModelSave model;
    model.frames = Pattern(60'000, 4);
    const std::string expected = model.Apply(old);

    // One undisturbed save shows how long a save lasts, so the kills spread over all of it.
    harness.dir.WriteFile(kName, old);
    const auto begin = std::chrono::steady_clock::now();
    int status = 0;
    ASSERT_EQ(::waitpid(StartSave(harness, request), &status, 0) > 0 && WIFEXITED(status) &&
                  WEXITSTATUS(status) == 0,
              true);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - begin);
    ASSERT_EQ(ScratchDirectory::ReadFile(path), expected);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> moment(0, span.count());
    int oldSeen = 0;
    int newSeen = 0;
    for (int round = 0; round < kRounds; ++round) {
        harness.dir.WriteFile(kName, old);
        const pid_t child = StartSave(harness, request);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        const std::string now = ScratchDirectory::ReadFile(path);
        const bool isOld = now == old;
        const bool isNew = now == expected;
        EXPECT_TRUE(isOld || isNew) << "round " << round << ": " << now.size() << " bytes";
        oldSeen += isOld ? 1 : 0;
        newSeen += isNew ? 1 : 0;
        RemoveLeftovers(harness.dir);
    }
    std::printf("killed saves: %d left the old file, %d the new one\n", oldSeen, newSeen);
}

}  // namespace
}  // namespace velmora
