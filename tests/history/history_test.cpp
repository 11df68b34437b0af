#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/RegionRestore.h"
#include "history/Revert.h"
#include "history/Sql.h"
#include "history/TagRecipe.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/TagWriterTestSupport.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/GroupSave.h"
#include "tags/record/Mp3File.h"
#include "text/Utf8.h"

namespace velmora::history {
namespace {

using namespace velmora::testing;
using Outcome = RevertedFile::Outcome;

const std::string kAudio = "\xFF\xFB\x90\x00" + Pattern(40'000, 7);
const std::string kRecord = "TAG" + Pattern(125, 3);

std::span<const std::uint8_t> Span(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A tag of real frames with a cover, `padding` zeros after them.
std::string FramedTag(std::uint8_t version, std::uint8_t flags = 0, const Bytes& extended = {},
                      std::size_t padding = 500) {
    const Bytes cover = B(Pattern(20'000, 5));
    const Bytes frames =
        version == 2
            ? Cat({Frame22("TT2", TextBody("Song")), Frame22("PIC", cover)})
            : Cat({Frame("TIT2", TextBody("Song"), version), Frame("APIC", cover, version)});
    const Bytes tag = Tag(version, Cat({extended, frames}), padding, flags);
    return std::string(tag.begin(), tag.end());
}

// A process killed after recording: whether or not its save happened, the file's entry never
// learnt the outcome.
class KilledRecorder : public HistoryRecorder {
  public:
    using HistoryRecorder::HistoryRecorder;
    void AfterWrite(const std::u16string&, const FileIdentity&) override {}
};

struct StoreHarness : SaveHarness {
    std::u16string notice;
    std::string error;
    std::unique_ptr<HistoryStore> store = HistoryStore::Open(dir.Path("h.sqlite"), notice, error);

    std::int64_t Save(const std::filesystem::path& path, const SaveJob& job, bool killed = false) {
        const auto recorder = killed ? std::make_unique<KilledRecorder>(*store, "cli")
                                     : std::make_unique<HistoryRecorder>(*store, "cli");
        context.recorder = recorder.get();
        EXPECT_TRUE(SaveTags(Request(path, job), context));
        context.recorder = nullptr;
        return recorder->Finish(u"Album");
    }
};

TEST(History, RevertGivesBackEveryFileByteForByte) {
    const std::string tagged = TagBytes(2048, Pattern(2048, 1)) + kAudio;
    const std::string footer = TagBytes(500, Pattern(510, 2), 4, 0x10) + kAudio;
    const struct {
        std::string file;
        SaveJob job;
    } cases[] = {
        {FramedTag(3) + kAudio, {.frames = Pattern(900, 9)}},  // in place
        // Grows, with a record.
        {FramedTag(3) + kAudio + kRecord, {.writeV1 = true, .frames = Pattern(30'000, 9)}},
        // Extended headers.
        {FramedTag(4, 0x40, {0, 0, 0, 6, 1, 0}) + kAudio,
         {.frames = Pattern(100, 9), .version = 4}},
        {FramedTag(3, 0x40, Cat({{0, 0, 0, 6}, B(Pattern(6, 1))})) + kAudio, {.stripV2 = true}},
        {FramedTag(3, 0x80) + kAudio, {.frames = Pattern(100, 9)}},  // unsynchronised
        {FramedTag(2) + kAudio, {.frames = Pattern(50'000, 9)}},     // ID3v2.2 replaced
        {footer, {.frames = Pattern(505, 9), .version = 4}},
        {footer, {.stripV2 = true}},
        {tagged + kRecord, {.stripV1 = true, .frames = Pattern(9000, 9)}},  // frames of garbage
        {kAudio, {.writeV1 = true, .frames = Pattern(100, 9)}},             // no tag gets one
        {kAudio + kRecord, {.writeV1 = true}},
        {kAudio + kRecord, {.stripV1 = true}},
        {"01234", {.writeV1 = true, .frames = Pattern(50, 9)}},  // a tiny file
        {kRecord, {.writeV1 = true}},                            // a file of a record alone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);  // the row number
        StoreHarness harness;
        const auto path = harness.dir.WriteFile("song.mp3", c.file);
        const std::int64_t batch = harness.Save(path, c.job);
        const std::string saved = ScratchDirectory::ReadFile(path);
        ASSERT_NE(saved, c.file);
        const RevertResult result = RevertBatch(*harness.store, batch, {});
        ASSERT_EQ(result.files.size(), 1u);
        EXPECT_EQ(result.files[0].outcome, Outcome::Reverted)
            << text::ToUtf8(result.files[0].reason);
        EXPECT_EQ(ScratchDirectory::ReadFile(path), c.file);
        // The revert is a batch of its own, and reverting it gives the save back.
        RevertBatch(*harness.store, result.batch, {});
        EXPECT_EQ(ScratchDirectory::ReadFile(path), saved);
        EXPECT_EQ(harness.dir.Names().size(), 4u);  // the song and the store's three files
    }
}

TEST(History, ACoverSharedByManyFilesIsKeptOnce) {
    StoreHarness harness;
    const std::uint64_t empty = harness.store->SizeInBytes();
    HistoryRecorder recorder(*harness.store, "cli");
    harness.context.recorder = &recorder;
    for (int i = 0; i < 20; ++i) {
        const auto path = harness.dir.WriteFile("s" + std::to_string(i), FramedTag(3) + kAudio);
        EXPECT_TRUE(SaveTags(harness.Request(path, {.frames = Pattern(100, 1)}), harness.context));
    }
    const std::int64_t batch = recorder.Finish({});
    EXPECT_LT(harness.store->SizeInBytes() - empty, 20'000 * 12 / 10);
    EXPECT_EQ(harness.store->Batches().at(0).summary, u"20 files");
    // Pruned to nothing but the newest batch, the cover goes with the batch that used it.
    harness.Save(harness.dir.WriteFile("other", kAudio), {.frames = "x"});
    EXPECT_EQ(harness.store->Prune(180, 0), 1u);
    EXPECT_TRUE(harness.store->Entries(batch).empty());
    EXPECT_LT(harness.store->SizeInBytes(), empty + 20'000);
}

TEST(History, RenamesGoBackButNeverOverAnotherFile) {
    StoreHarness harness;
    harness.dir.WriteFile("a.mp3", FramedTag(3) + kAudio);
    HistoryRecorder recorder(*harness.store, "cli");
    harness.context.recorder = &recorder;
    Mp3File record(harness.context, TextPath(harness.dir.Root()), u"a.mp3");
    record.SetFileName(u"b.mp3");
    record.V1().SetModified(true);
    ASSERT_TRUE(record.Save(harness.context));
    const std::int64_t batch = recorder.Finish(u"Rename");

    harness.dir.WriteFile("a.mp3", "someone else's");
    RevertResult result = RevertBatch(*harness.store, batch, {});
    EXPECT_EQ(result.files.at(0).outcome, Outcome::Skipped);
    EXPECT_EQ(ScratchDirectory::ReadFile(harness.dir.Path("a.mp3")), "someone else's");

    std::filesystem::remove(harness.dir.Path("a.mp3"));
    result = RevertBatch(*harness.store, batch, {.files = {TextPath(harness.dir.Path("b.mp3"))}});
    EXPECT_EQ(result.files.at(0).outcome, Outcome::Reverted);
    EXPECT_EQ(ScratchDirectory::ReadFile(harness.dir.Path("a.mp3")), FramedTag(3) + kAudio);
    EXPECT_FALSE(std::filesystem::exists(harness.dir.Path("b.mp3")));
}

// One commit records the group before any of it is written; a file changed on disk since the
// load is refused without spoiling the others' record.
TEST(History, AGroupSaveRecordsEveryFileItWrites) {
    StoreHarness harness;
    const std::string before = FramedTag(3) + kAudio;
    std::vector<std::unique_ptr<Mp3File>> records;
    std::vector<Mp3File*> toSave;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        harness.dir.WriteFile(name, before);
        records.push_back(std::make_unique<Mp3File>(harness.context, TextPath(harness.dir.Root()),
                                                    text::FromUtf8(name)));
        SetFrameText(records.back()->V2(), FrameId("TALB"), u"Album", harness.context);
        toSave.push_back(records.back().get());
    }
    harness.dir.WriteFile("b.mp3", before + "x");
    HistoryRecorder recorder(*harness.store, "window");
    harness.context.recorder = &recorder;
    std::vector<bool> saved;
    SaveInGroups(toSave, harness.context, [&](Mp3File&, bool ok) { saved.push_back(ok); });
    EXPECT_EQ(saved, (std::vector<bool>{true, false, true}));
    const std::int64_t batch = recorder.Finish(u"Album");
    EXPECT_EQ(harness.store->Entries(batch).size(), 2u);
    for (const auto& file : RevertBatch(*harness.store, batch, {}).files)
        EXPECT_EQ(file.outcome, Outcome::Reverted) << text::ToUtf8(file.reason);
    for (const char* name : {"a.mp3", "c.mp3"})
        EXPECT_EQ(ScratchDirectory::ReadFile(harness.dir.Path(name)), before);
}

// Retagged since by someone else (a larger tag, no ID3v1 record), or saved by a process killed
// after recording whether or not it wrote the file: refused unless forced.
TEST(History, AFileChangedSinceOrAnUnfinishedSaveIsRevertedOnlyWhenForced) {
    const std::string before = FramedTag(4) + kAudio + kRecord;
    const std::string retagged = FramedTag(3, 0, {}, 90'000) + kAudio;
    const std::pair<bool, const std::string*> rows[] = {
        {false, &retagged}, {true, nullptr}, {true, &before}};
    for (const auto& [killed, since] : rows) {
        StoreHarness harness;
        const auto path = harness.dir.WriteFile("song.mp3", before);
        const std::int64_t batch = harness.Save(
            path, {.writeV1 = true, .frames = Pattern(40'000, 9), .version = 4}, killed);
        if (since)
            harness.dir.WriteFile("song.mp3", *since);
        const std::string now = ScratchDirectory::ReadFile(path);
        const auto revert = [&](const RevertOptions& options) {
            return RevertBatch(*harness.store, batch, options).files.at(0);
        };
        EXPECT_EQ(revert({.files = {}, .dryRun = true}).outcome, Outcome::Skipped);
        const RevertedFile refused = revert({});
        EXPECT_EQ(refused.outcome, Outcome::Skipped);
        EXPECT_EQ(refused.reason == u"it changed since the save", !killed);
        EXPECT_EQ(ScratchDirectory::ReadFile(path), now);
        EXPECT_EQ(revert({.files = {}, .force = true}).outcome, Outcome::Reverted);
        EXPECT_EQ(ScratchDirectory::ReadFile(path), before);
    }
}

class RefusingRecorder : public HistoryRecorder {
  public:
    using HistoryRecorder::HistoryRecorder;
    bool BeforeWrite(const std::u16string&, const ReplacedRegions&,
                     std::u16string& reason) override {
        reason = u"disk full";
        return false;
    }
};

TEST(History, ASaveWhoseOldTagsCannotBeKeptIsRefused) {
    StoreHarness harness;
    RefusingRecorder recorder(*harness.store, "cli");
    harness.context.recorder = &recorder;
    const auto path = harness.dir.WriteFile("song.mp3", kAudio);
    EXPECT_FALSE(SaveTags(harness.Request(path, {.frames = "x"}), harness.context));
    EXPECT_EQ(ScratchDirectory::ReadFile(path), kAudio);
    EXPECT_EQ(MessageText(harness.messages.Shown().at(0), u" "),
              u"Couldn't save " + TextPath(path) +
                  u": its old tags could not be kept in the history of saves: disk full");
}

TEST(History, ABrokenStoreIsSetAsideAndANewOneStarted) {
    StoreHarness harness;
    for (int i = 0; i < 200; ++i)
        harness.store->FinishBatch(harness.store->BeginBatch("cli", 0), std::u16string(100, u'x'));
    harness.store.reset();
    const auto file = harness.dir.Path("h.sqlite");
    const std::string whole = ScratchDirectory::ReadFile(file);
    for (const std::string& broken : {whole.substr(0, whole.size() / 2), Pattern(9000, 1)}) {
        harness.dir.WriteFile("h.sqlite", broken);
        std::u16string notice;
        std::string error;
        auto store = HistoryStore::Open(file, notice, error);
        ASSERT_TRUE(store) << error;
        EXPECT_NE(notice.find(u"was moved to"), std::u16string::npos);
        EXPECT_TRUE(store->Batches().empty());
    }
    EXPECT_EQ(harness.dir.Names().size(), 3u);  // the new store (closed) and the two set aside
}

// A store of the first shape: the identity after a save in the entry's row, with its state,
// and bodies left in the file known by edges of 4 KiB.
constexpr char kFirstShape[] = R"(
CREATE TABLE batch(id INTEGER PRIMARY KEY, started TEXT NOT NULL, finished TEXT,
    origin TEXT NOT NULL, summary TEXT NOT NULL DEFAULT '', reverts INTEGER);
CREATE TABLE entry(id INTEGER PRIMARY KEY, batch INTEGER NOT NULL, path_before BLOB NOT NULL,
    path_after BLOB NOT NULL, tags_changed INTEGER NOT NULL, head_recipe BLOB, tail BLOB,
    new_head_size INTEGER, new_tail_size INTEGER, dev INTEGER, ino INTEGER, size INTEGER,
    mtime_ns INTEGER, state TEXT NOT NULL);
INSERT INTO batch VALUES(1, '2026-12-01T10:00:00Z', NULL, 'cli', 'Album: 2 files', NULL);
)";

TEST(History, AStoreOfTheFirstShapeKeepsItsBatches) {
    ScratchDirectory dir;
    const std::string cover = Pattern(10'000, 4);
    const auto song = dir.WriteFile("song.mp3", cover);
    const FileIdentity identity = *IdentityOfPath(TextPath(song));
    Sha256 hasher;
    const Digest edges = hasher.Of(Span(cover.substr(0, 4096)), Span(cover.substr(5904)));
    // "abc", then the 10,000 bytes at 0 of the file.
    const std::string recipe = std::string("I\x03", 2) + "abcF" + std::string("\x00\x90\x4E", 3) +
                               std::string(edges.begin(), edges.end());
    const std::string path = song.string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.Path("h.sqlite").c_str(), &db), SQLITE_OK);
    Exec(db, kFirstShape);
    for (const bool saved : {true, false}) {
        Statement insert(db,
                         "INSERT INTO entry VALUES(NULL, 1, ?1, ?1, 1, ?2, x'', 3, 0, ?3, ?4, "
                         "?5, ?6, ?7)");
        insert.BindBlob(1, Span(path)).BindBlob(2, Span(recipe)).Bind(3, identity.device);
        insert.Bind(4, identity.inode).Bind(5, identity.size).Bind(7, saved ? "saved" : "recorded");
        insert.Bind(6, identity.modifiedSeconds * 1'000'000'000 + identity.modifiedNanoseconds)
            .Run();
    }
    sqlite3_close(db);

    std::u16string notice;
    std::string error;
    auto store = HistoryStore::Open(dir.Path("h.sqlite"), notice, error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(notice, u"");
    const std::vector<EntryRow> entries = store->Entries(1);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].identity, identity);
    EXPECT_EQ(entries[0].pathAfter, TextPath(song));
    EXPECT_FALSE(entries[1].identity);
    const auto old = store->OldRegions(entries[0].id, BytesInFile(TextPath(song)));
    ASSERT_TRUE(old);
    EXPECT_EQ(std::string(old->head.begin(), old->head.end()), "abc" + cover);
}

TEST(TagRecipe, DamagedRecipesRebuildNothing) {
    const std::string tag = FramedTag(3);
    Sha256 hasher;
    const SplitTag split = SplitForStore(hasher, Span(tag));
    EXPECT_EQ(split.chunks.size(), 1u);  // the cover; the title is too short to be worth it
    const auto none = [](const Digest&) { return std::optional<std::vector<std::uint8_t>>(); };
    EXPECT_FALSE(Rebuild(hasher, split.recipe, none));
    const std::vector<std::uint8_t> huge = {'Z', 0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
    EXPECT_FALSE(Rebuild(hasher, huge, none));
    EXPECT_FALSE(Rebuild(hasher, std::vector<std::uint8_t>{'I', 5, 'a'}, none));
}

}  // namespace
}  // namespace velmora::history
