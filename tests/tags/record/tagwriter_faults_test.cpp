#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <thread>

#include "replace/ReplaceFaults.h"
#include "tags/TagWriterTestSupport.h"
#include "tags/file/BufferedFileFaults.h"

namespace velmora {
namespace {

using namespace testing;

// Several move chunks of audio, so failures land between chunks as well.
const std::string kAudio = Pattern(400'000, 11);
const std::string kOldRecord = "TAG" + Pattern(125, 5);

// One way of making the nth step of a save fail: a file call, a replace step, or (neither)
// a short write followed by a failing one.
struct Fault {
    std::optional<FileCall> call{};
    std::optional<ReplaceStep> step{};
    int error = EIO;
};

const Fault kFaults[] = {
    {.call = FileCall::Write},
    {.call = FileCall::Read},
    {.call = FileCall::Sync},
    {.call = FileCall::Truncate},
    {.call = FileCall::Size},
    {.call = FileCall::Open},
    {.call = FileCall::Close},
    {},
    {.step = ReplaceStep::Rename},
    {.step = ReplaceStep::SyncDirectory},
    {.step = ReplaceStep::CreateTemporary},
    // A folder that takes no new files: the audio is not moved inside the file instead.
    {.step = ReplaceStep::CreateTemporary, .error = EACCES},
};

// Whatever step fails, a save that moves the audio leaves the old file or the complete new
// one (the new one when it reports success), and an in-place save leaves every audio byte
// where it was.
TEST(TagSaveFaults, EveryFailingStepLeavesTheOldFileOrTheNewOne) {
    constexpr std::size_t kMoves = std::string::npos;
    const std::string small = TagBytes(100, Pattern(100, 1)) + kAudio + kOldRecord;
    const std::string large = TagBytes(8000, Pattern(8000, 1));
    const std::tuple<std::string, SaveJob, std::size_t> saves[] = {
        {small, {.writeV1 = true, .frames = Pattern(20'000, 2)}, kMoves},
        {kAudio, {.frames = Pattern(300, 2)}, kMoves},
        {small, {.stripV1 = true, .stripV2 = true}, kMoves},
        {large + kAudio + kOldRecord, {.writeV1 = true, .frames = Pattern(7000, 3)}, large.size()},
        {kAudio, {.writeV1 = true}, 0},
        {kAudio + kOldRecord, {.stripV1 = true}, 0},
    };
    for (const auto& [file, job, audioAt] : saves) {
        const std::string expected = SaveHarness().Expected(job, file);
        for (const Fault& fault : kFaults) {
            for (std::uint64_t nth = 1;; ++nth) {
                SCOPED_TRACE(::testing::Message()
                             << file.size() << " bytes, fault " << &fault - kFaults << " #" << nth);
                SaveHarness harness;
                const auto path = harness.dir.WriteFile("song.mp3", file);
                FileFaults files;
                ReplaceFaults replaces;
                if (fault.step) {
                    replaces.Fail(*fault.step, nth, fault.error);
                } else if (fault.call) {
                    files.Fail(*fault.call, nth, fault.error);
                } else {
                    files.ShortenWrite(nth, 100);
                    files.Fail(FileCall::Write, nth + 1, ENOSPC);
                }
                bool saved = false;
                {
                    ScopedFileFaults installedFiles(files);
                    ScopedReplaceFaults installedReplaces(replaces);
                    saved = SaveTags(harness.Request(path, job), harness.context);
                }
                const std::string bytes = ScratchDirectory::ReadFile(path);
                if (audioAt == kMoves) {
                    EXPECT_EQ(bytes, saved ? expected : file);
                    EXPECT_EQ(harness.dir.Names().size(), 1u);
                } else {
                    ASSERT_GE(bytes.size(), audioAt + kAudio.size());
                    EXPECT_EQ(bytes.compare(audioAt, kAudio.size(), kAudio), 0);
                }
                // Once the nth step no longer happens, nothing failed and the save succeeds.
                const auto count = fault.step ? replaces.Count(*fault.step)
                                              : files.Count(fault.call.value_or(FileCall::Write));
                if (count < nth) {
                    EXPECT_TRUE(saved);
                    break;
                }
            }
        }
    }
}

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
