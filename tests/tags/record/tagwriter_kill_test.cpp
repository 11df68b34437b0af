#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "tags/TagWriterTestSupport.h"

namespace velmora {
namespace {

using namespace testing;

// Forks a child that saves `request` and leaves at once; returns its id.
pid_t StartSave(SaveHarness& harness, const TagSave& request) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(SaveTags(request, harness.context) ? 0 : 1);
    }
    return child;
}

// A save that grows the tag of a large file is killed at random moments: each time the file
// is the old one or the complete new one, never a mixture.
TEST(TagSaveKillTest, KilledSaveLeavesTheOldFileOrTheNewOne) {
    SaveHarness harness;
    const std::string old =
        TagBytes(200, Pattern(200, 1)) + Pattern(6 << 20, 2) + "TAG" + Pattern(125, 3);
    const auto path = harness.dir.Path("song.mp3");
    const SaveJob job{.frames = Pattern(60'000, 4)};
    const TagSave request = harness.Request(path, job);
    const std::string expected = harness.Expected(job, old);

    // One undisturbed save shows how long a save lasts, so the kills spread over all of it.
    harness.dir.WriteFile("song.mp3", old);
    const auto begin = std::chrono::steady_clock::now();
    int status = 0;
    ASSERT_GT(::waitpid(StartSave(harness, request), &status, 0), 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - begin);
    ASSERT_EQ(ScratchDirectory::ReadFile(path), expected);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> moment(0, span.count());
    for (int round = 0; round < 30; ++round) {
        harness.dir.WriteFile("song.mp3", old);
        const pid_t child = StartSave(harness, request);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        const std::string now = ScratchDirectory::ReadFile(path);
        EXPECT_TRUE(now == old || now == expected) << "round " << round << ": " << now.size();
        // A killed save may leave its temporary file beside the song.
        for (const auto& entry : std::filesystem::directory_iterator(harness.dir.Root())) {
            if (entry.path() != path) {
                std::filesystem::remove(entry.path());
            }
        }
    }
}

}  // namespace
}  // namespace velmora
