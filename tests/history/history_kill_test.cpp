#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/Revert.h"
#include "tags/TagWriterTestSupport.h"

namespace velmora::history {
namespace {

using namespace velmora::testing;

// A child that records and saves as a group save does (the record committed, then the file
// written), then leaves.
pid_t StartRecordedSave(SaveHarness& harness, const TagSave& request,
                        const std::filesystem::path& storeFile) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::u16string notice;
        std::string error;
        auto store = HistoryStore::Open(storeFile, notice, error);
        HistoryRecorder recorder(*store, "cli");
        harness.context.recorder = &recorder;
        recorder.BeginGroup();
        PendingTags pending(request, harness.context);
        std::u16string reason;
        const bool kept = recorder.CommitGroup(reason);
        const bool saved = pending.Finish(harness.context, nullptr, kept ? nullptr : &reason);
        recorder.Finish(u"Album");
        ::_exit(saved ? 0 : 1);
    }
    return child;
}

// Killed at any moment, a recorded save leaves the file old or new and the store readable; a
// new file always has its old tags in the store, and a forced revert gives the old file back.
TEST(HistoryKillTest, AKilledSaveIsAlwaysUndoable) {
    SaveHarness harness;
    const std::string old = TagBytes(200, Pattern(200, 1)) + Pattern(4 << 20, 2);
    const auto path = harness.dir.Path("song.mp3");
    const SaveJob job{.frames = Pattern(60'000, 4)};
    const TagSave request = harness.Request(path, job);
    const std::string expected = harness.Expected(job, old);
    ScratchDirectory stores;
    // Made beforehand, so the kills fall on the recording and the save rather than on
    // creating the tables.
    const auto made = [&](const std::filesystem::path& file) {
        std::u16string notice;
        std::string error;
        HistoryStore::Open(file, notice, error);
        return file;
    };

    harness.dir.WriteFile("song.mp3", old);
    const auto begin = std::chrono::steady_clock::now();
    int status = 0;
    ASSERT_GT(
        ::waitpid(StartRecordedSave(harness, request, made(stores.Path("first"))), &status, 0), 0);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - begin);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> moment(0, span.count());
    for (int round = 0; round < 20; ++round) {
        const auto storeFile = made(stores.Path("h" + std::to_string(round)));
        harness.dir.WriteFile("song.mp3", old);
        const pid_t child = StartRecordedSave(harness, request, storeFile);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        for (const auto& entry : std::filesystem::directory_iterator(harness.dir.Root())) {
            if (entry.path() != path)
                std::filesystem::remove(entry.path());
        }
        const std::string now = ScratchDirectory::ReadFile(path);
        ASSERT_TRUE(now == old || now == expected) << "round " << round;
        std::u16string notice;
        std::string error;
        auto store = HistoryStore::Open(storeFile, notice, error);
        ASSERT_TRUE(store && notice.empty()) << "round " << round;
        const auto batches = store->Batches();
        if (batches.empty()) {
            EXPECT_EQ(now, old) << "round " << round;
            continue;
        }
        RevertBatch(*store, batches.back().id, {.files = {}, .force = true});
        EXPECT_EQ(ScratchDirectory::ReadFile(path), old) << "round " << round;
    }
}

}  // namespace
}  // namespace velmora::history
