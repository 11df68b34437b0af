#include <gtest/gtest.h>

#include <cerrno>

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

}  // namespace
}  // namespace velmora
