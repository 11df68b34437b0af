#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <latch>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "scan/BackgroundWorker.h"
#include "scan/DirectoryWalk.h"
#include "scan/FileListColumns.h"
#include "scan/LoaderThread.h"
#include "scan/SaveThread.h"
#include "tags/Id3v1TestRecords.h"
#include "tags/RecordFolder.h"
#include "tags/mpeg/mpeg_test_streams.h"
#include "text/FileName.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

// Eight silent frames of 128 kbit/s MPEG-1 Layer III audio and an ID3v1 tag holding the title.
Bytes TestMp3(const std::string& title) {
    return Cat({Frames(FrameShape{}, 8), B(AsBytes(RecordWith({{3, title}})))});
}

// A scratch folder of MP3 files and an engine to load them with.
class ScanTest : public RecordFolder {
  protected:
    void Write(const std::string& relative, const Bytes& bytes) {
        fs::create_directories(dir_.Path(relative).parent_path());
        RecordFolder::Write(relative, bytes);
    }
    void Load(LoaderThread& loader, const std::u16string& folder = {}) {
        loader.SetDirectory(folder.empty() ? Dir() : folder);
        ASSERT_TRUE(loader.Start());
        loader.Join();
    }
    // Every file is a link to nothing, so each load shows a message and blocks on it: the
    // test knows exactly which file the worker is at.
    std::unique_ptr<LoaderThread> StartGated(MessageSink& gate, std::function<void()> done = {}) {
        for (int i = 0; i < kFiles; ++i)
            fs::create_symlink("absent", dir_.Path("f" + std::to_string(i) + ".mp3"));
        gated_.emplace(context_.options, context_.codePage, gate);
        auto loader = std::make_unique<LoaderThread>(*gated_);
        loader->SetDirectory(Dir());
        EXPECT_TRUE(loader->Start(std::move(done)));
        return loader;
    }
    static constexpr int kFiles = 500;

    EngineContext& context_ = engine_.context;
    std::optional<EngineContext> gated_;
};

// The done callback comes after the flag is clear, so a poller and a listener agree.
TEST(BackgroundWorker, RunsOneBodyAtATimeClearsTheFlagThenCallsDone) {
    BackgroundWorker worker;
    EXPECT_FALSE(worker.IsRunning());
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int runs = 0;
    bool runningWhenDone = true;
    ASSERT_TRUE(worker.Start(
        [&](std::stop_token) {
            released.wait();
            ++runs;
        },
        [&] { runningWhenDone = worker.IsRunning(); }));
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.Start([&](std::stop_token) { ++runs; }));
    release.set_value();
    worker.Join();
    EXPECT_EQ(std::tuple(worker.IsRunning(), runningWhenDone, runs), std::tuple(false, false, 1));
}

// Blocks each message as a window's message box blocks the worker, until the test opens it.
struct GatedMessageSink : MessageSink {
    MessageAnswer Show(const Message&) override {
        ++shown;
        shown.notify_all();
        open.wait();
        return MessageAnswer::Ok;
    }
    std::atomic<int> shown = 0;
    std::latch open{1};
};

// Each file met, relative to the root; the full path must name a file that exists.
std::vector<std::string> Walk(const fs::path& root, bool recurse) {
    std::vector<std::string> seen;
    WalkDirectory(text::FileNameToText(root.string()), recurse,
                  [&](const std::u16string& dir, const std::u16string& name) {
                      fs::path full = text::TextToFileName(dir + u"/" + name);
                      EXPECT_TRUE(fs::exists(full)) << full;
                      seen.push_back(fs::relative(full, root).string());
                  });
    return seen;
}

// The extension is the last four characters, compared without case.
TEST_F(ScanTest, WalkFindsMp3FilesDepthFirstOnceEachAndRecursesOnlyWhenAsked) {
    for (const char* name :
         {"top.MP3", ".mp3", "mp3", "a.mp3.bak", "a_mp3", "caf\xE9.mp3", "sub/one.mp3",
          "sub/two.mp3", "sub/deeper/three.mp3", "..dots/four.mp3"})
        Write(name, B("x"));
    const fs::path& root = dir_.Root();
    ASSERT_EQ(::mkfifo((root / "fifo.mp3").c_str(), 0600), 0);  // opening it would block
    // Links back up the tree are not followed forever.
    fs::create_directory_symlink(root, root / "sub" / "loop");
    fs::create_directory_symlink(root / "sub", root / "again");
    auto top = Walk(root, false);
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{".mp3", "caf\xE9.mp3", "top.MP3"}));

    auto seen = Walk(root, true);
    ASSERT_EQ(seen.size(), 7u);
    // Depth first: everything under sub/ comes in one run.
    auto first =
        std::find_if(seen.begin(), seen.end(), [](auto& s) { return s.rfind("sub/", 0) == 0; });
    ASSERT_LE(first + 3, seen.end());
    EXPECT_TRUE(std::all_of(first, first + 3, [](auto& s) { return s.rfind("sub/", 0) == 0; }));
}

// 96 kbit/s for four seconds against 128 kbit/s for one: as text "96" sorts after "128", its
// key must not.
TEST_F(ScanTest, BitrateAndDurationSortByNumberOtherColumnsByTheirText) {
    Write("slow.mp3", Frames(FrameShape{.bitrateIndex = 7}, 160));
    Write("fast.mp3", Frames(FrameShape{}, 40));
    Mp3File slowRecord(context_, Dir(), u"slow.mp3");
    Mp3File fastRecord(context_, Dir(), u"fast.mp3");
    const text::CodePage& codePage = context_.codePage;
    EXPECT_EQ(CellText(slowRecord, Column::Bitrate, codePage) + u" " +
                  CellText(slowRecord, Column::Duration, codePage) + u" " +
                  CellText(fastRecord, Column::Duration, codePage),
              u"96 00:04 00:01");
    EXPECT_LT(NumericSortKey(slowRecord, Column::Bitrate),
              NumericSortKey(fastRecord, Column::Bitrate));
    EXPECT_LT(NumericSortKey(fastRecord, Column::Duration),
              NumericSortKey(slowRecord, Column::Duration));
    EXPECT_EQ(NumericSortKey(slowRecord, Column::Filename), std::nullopt);
}

// A field the ID3v2 tag lacks shows the file's ID3v1 value, marked as such; a frame it has
// shows, even empty; a pending removal of the ID3v1 tag takes its values away. A genre stored
// as a bare number (ID3v2.4) shows its name.
TEST_F(ScanTest, FieldsWithoutAnId3v2FrameShowTheId3v1Values) {
    const auto v1 = RecordWith(
        {{3, "V1 Title"}, {33, "V1 Artist"}, {63, "Album"}, {93, "1999"}, {126, "\x05"}});
    Write("v1.mp3", Cat({Tag(3, Cat({Frame("TIT2", TextBody("")), Frame("TCON", TextBody("17"))})),
                         Frames(FrameShape{}, 8), B(AsBytes(v1))}));
    Mp3File record(context_, Dir(), u"v1.mp3");
    const std::tuple<Column, std::u16string_view, bool> rows[] = {
        {Column::Title, u"", false},     {Column::Artist, u"V1 Artist", true},
        {Column::Album, u"Album", true}, {Column::Year, u"1999", true},
        {Column::Track, u"5", true},     {Column::Genre, u"Rock", false}};
    for (const auto& [column, text, fromV1] : rows) {
        EXPECT_EQ(CellText(record, column, context_.codePage), text) << int(column);
        EXPECT_EQ(CellFromId3v1(record, column, context_.codePage), fromV1) << int(column);
    }
    record.MarkRemoveV1();
    EXPECT_EQ(CellText(record, Column::Artist, context_.codePage), u"");
    EXPECT_FALSE(CellFromId3v1(record, Column::Artist, context_.codePage));
}

TEST_F(ScanTest, LoaderRecordsAreCompleteAndRecurseIsReadAtEachLoad) {
    Write("top.mp3", TestMp3("Top"));
    Write("sub/inner.MP3", {});  // a file that holds nothing is still a row
    LoaderThread loader(context_);
    Load(loader, Dir() + u"/absent");  // a missing folder loads nothing, silently
    EXPECT_EQ(loader.Records().Size(), 0u);
    EXPECT_TRUE(engine_.messages.Shown().empty());

    Load(loader, Dir() + u"/");
    EXPECT_EQ(loader.Directory(), Dir());
    // What each record holds: LoaderReadsInParallelYetGivesTheWalksOrder.
    EXPECT_EQ(loader.Records().Size(), 2u);

    loader.SetRecurse(false);
    loader.ResetList();
    Load(loader);
    EXPECT_EQ(loader.Records().All().at(0)->Name(), u"top.mp3");
    EXPECT_EQ(loader.Records().Size(), 1u);
}

// What a test compares of a record: where it is, whether it loaded, and what it holds.
std::string Summary(const Mp3File& record) {
    return text::ToUtf8(record.DiskPath()) + " " + std::to_string(int(record.Status())) + " " +
           std::to_string(record.Bitrate()) + " " + std::to_string(record.Duration()) + " " +
           Describe(record.V2()) + " " + text::ToUtf8(record.V1().Text(Id3v1Tag::kTitle));
}

// The files are read several at once, yet the window, reading what was appended since its
// last visit while the worker goes on, sees the records and the failures' messages exactly as
// a load of one file after another gives them.
TEST_F(ScanTest, LoaderReadsInParallelYetGivesTheWalksOrder) {
    const Bytes audio = Frames(FrameShape{}, 8);
    const Bytes shapes[] = {
        TestMp3("v1"),
        Cat({Tag(3, Frame("TIT2", TextBody("v2.3"))), audio}),
        Cat({Tag(4, Frame("TPE1", TextBody("v2.4"), 4), 64), audio}),
        Tag(3, Frame("TIT2", TextBody("cut")), 5000),
        {},
        B("not an mp3"),
    };
    for (int i = 0; i < 240; ++i) {
        const std::string name = "d" + std::to_string(i % 5) + "/f" + std::to_string(i);
        Write(name + ".mp3", shapes[i % std::size(shapes)]);
        if (i % 37 == 5)  // a link to nothing fails its load with a message
            fs::create_symlink("absent", dir_.Path(name + "-gone.mp3"));
    }
    std::vector<std::string> expected;
    TestEngine sequential;
    WalkDirectory(Dir(), true, [&](const std::u16string& dir, const std::u16string& name) {
        expected.push_back(Summary(Mp3File(sequential.context, dir, name)));
    });
    LoaderThread loader(context_);
    loader.SetDirectory(Dir());
    ASSERT_TRUE(loader.Start());
    std::vector<std::string> seen;
    for (bool finished = false; !finished;) {
        finished = !loader.IsRunning();
        for (const Mp3File* record : loader.Records().From(seen.size()))
            seen.push_back(Summary(*record));
    }
    loader.Join();
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(engine_.messages.Texts(), sequential.messages.Texts());
    EXPECT_FALSE(engine_.messages.Texts().empty());
}

// The load stops after the file at hand, keeping what it loaded.
TEST_F(ScanTest, LoaderStopsAfterTheFileAtHandKeepingWhatItLoaded) {
    GatedMessageSink gate;
    std::atomic<int> doneCalls = 0;
    auto loader = StartGated(gate, [&] { ++doneCalls; });
    gate.shown.wait(0);
    loader->Stop();
    gate.open.count_down();
    loader->Join();
    // Running, done calls, records, files done and failed, and the one record's status.
    EXPECT_EQ(std::tuple(loader->IsRunning(), doneCalls.load(), loader->Records().Size(),
                         loader->Progress().done, loader->Progress().failed,
                         loader->Records().All().at(0)->Status()),
              std::tuple(false, 1, 1u, 1u, 1u, LoadStatus::Failed));
}

TEST_F(ScanTest, DestroyingALoaderMidLoadDoesNotWaitForTheWalk) {
    GatedMessageSink gate;
    auto loader = StartGated(gate);
    gate.shown.wait(0);
    auto destroyed = std::async(std::launch::async, [&] { loader.reset(); });
    // Gives the destructor time to ask for the stop and start waiting; should it come late,
    // a few more files load, never the whole walk.
    destroyed.wait_for(std::chrono::milliseconds(100));
    gate.open.count_down();
    destroyed.wait();
    EXPECT_LT(gate.shown, kFiles / 2);
}

// b is not edited; d is edited but its file is gone, which must not stop the others.
TEST_F(ScanTest, SaverSavesOnlyTheRecordsThatNeedItAndGoesOnAfterAFailure) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        Write(name, TestMp3(name));
    LoaderThread loader(context_);
    Load(loader);
    auto records = loader.Records().All();
    ASSERT_EQ(records.size(), 4u);
    std::sort(records.begin(), records.end(),
              [](auto* x, auto* y) { return x->Name() < y->Name(); });
    for (Mp3File* record : {records[0], records[2], records[3]})
        SetFrameText(record->V2(), frame_ids::kTit2, u"New " + record->Name(), context_);
    const std::string untouched = Read("b.mp3");
    std::filesystem::remove(dir_.Path("d.mp3"));

    SaveThread saver(context_, loader.Records());
    ASSERT_TRUE(saver.Start());
    EXPECT_EQ(saver.Progress().total, 3u);
    saver.Join();
    EXPECT_EQ(std::tuple(saver.Progress().done, saver.Progress().failed), std::tuple(3u, 1u));
    for (const char* name : {"a.mp3", "c.mp3"})
        EXPECT_EQ(TextOf(RecordFolder::Load(name)->V2(), "TIT2"), std::string("New ") + name);
    EXPECT_EQ(Read("b.mp3"), untouched);
    EXPECT_EQ(std::tuple(records[0]->NeedsSave(), records[2]->NeedsSave(), records[3]->NeedsSave()),
              std::tuple(false, false, true));
    EXPECT_EQ(engine_.messages.Shown().size(), 1u);
    // A second pass counts the failure.
    EXPECT_EQ(SaveThread::SaveAll(context_, loader.Records()), 1u);
}

}  // namespace
}  // namespace velmora::testing
