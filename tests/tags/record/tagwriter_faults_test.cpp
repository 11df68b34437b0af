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

// One way of making the nth step of a save fail: a file call, a replace step, or a short
// write followed by a failing one.
struct Fault {
    std::optional<FileCall> call{};
    std::optional<ReplaceStep> step{};
    bool shortWrite = false;
    int error = EIO;

    void Arm(FileFaults& files, ReplaceFaults& replaces, std::uint64_t nth) const {
        if (step) {
            replaces.Fail(*step, nth, error);
        } else if (shortWrite) {
            files.ShortenWrite(nth, 100);
            files.Fail(FileCall::Write, nth + 1, ENOSPC);
        } else {
            files.Fail(*call, nth, error);
        }
    }
    std::uint64_t Count(const FileFaults& files, const ReplaceFaults& replaces) const {
        return step ? replaces.Count(*step) : files.Count(call.value_or(FileCall::Write));
    }
};

const Fault kFaults[] = {
    {.call = FileCall::Write},
    {.call = FileCall::Read},
    {.call = FileCall::Sync},
    {.call = FileCall::Truncate},
    {.call = FileCall::Size},
    {.call = FileCall::Open},
    {.call = FileCall::Close},
    {.shortWrite = true},
    {.step = ReplaceStep::Rename},
    {.step = ReplaceStep::SyncDirectory},
    {.step = ReplaceStep::CreateTemporary},
    // A folder that takes no new files: the audio is not moved inside the file instead.
    {.step = ReplaceStep::CreateTemporary, .error = EACCES},
};

struct Outcome {
    bool reached;  // the nth step happened, so it failed
    bool saved;
    std::string bytes;
    std::size_t filesInFolder;
};

// Saves `file` under `job` with the nth step of `fault` failing.
Outcome SaveWithFault(const std::string& file, const SaveJob& job, const Fault& fault,
                      std::uint64_t nth) {
    SaveHarness harness;
    const auto path = harness.dir.WriteFile("song.mp3", file);
    FileFaults files;
    ReplaceFaults replaces;
    fault.Arm(files, replaces, nth);
    bool saved = false;
    {
        ScopedFileFaults installedFiles(files);
        ScopedReplaceFaults installedReplaces(replaces);
        saved = SaveTags(harness.Request(path, job), harness.context);
    }
    return {fault.Count(files, replaces) >= nth, saved, ScratchDirectory::ReadFile(path),
            harness.dir.Names().size()};
}

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
                const Outcome outcome = SaveWithFault(file, job, fault, nth);
                if (audioAt == kMoves) {
                    EXPECT_EQ(outcome.bytes, outcome.saved ? expected : file);
                    EXPECT_EQ(outcome.filesInFolder, 1u);
                } else {
                    ASSERT_GE(outcome.bytes.size(), audioAt + kAudio.size());
                    EXPECT_EQ(outcome.bytes.compare(audioAt, kAudio.size(), kAudio), 0);
                }
                if (!outcome.reached) {
                    EXPECT_TRUE(outcome.saved);
                    break;
                }
            }
        }
    }
}

}  // namespace
}  // namespace velmora
