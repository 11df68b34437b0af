#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "batch/RenameCommand.h"
#include "edit/EditFolder.h"
#include "edit/EditJournal.h"
#include "tags/FileTestHelpers.h"
#include "tags/Id3v1TestRecords.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/ops/PictureOps.h"
#include "tags/record/Mp3File.h"

namespace velmora::testing {
namespace {

using edit::EditJournal;

// Everything undo must put back, as a save would see it: the tag as ID3v2.3 and ID3v2.4, which
// frames are modified, the ID3v1 tag, the name, and whether the frame list changed, the ID3v1
// tag is modified, either tag is to be removed and the record needs saving.
using Fingerprint =
    std::tuple<Bytes, Bytes, std::vector<bool>, Id3v1Record, std::u16string, std::array<bool, 5>>;

std::vector<Fingerprint> TakeAll(const Records& records) {
    std::vector<Fingerprint> prints;
    for (const Mp3File* r : records) {
        std::vector<bool> framesModified;
        for (const auto& frame : r->V2().Frames())
            framesModified.push_back(IsFrameModified(*frame));
        prints.emplace_back(SerializeTag(r->V2(), 3, Cp1252(), r),
                            SerializeTag(r->V2(), 4, Cp1252(), r), framesModified,
                            EncodeId3v1(r->V1(), Cp1252()), r->Name(),
                            std::array{r->V2().FrameListChanged(), r->V1().IsModified(),
                                       r->RemoveV1Pending(), r->RemoveV2Pending(), r->NeedsSave()});
    }
    return prints;
}

Bytes Text(std::string_view id, std::string_view latin1, std::uint8_t version = 3) {
    return Frame(id, TextBody(latin1), version);
}

const Bytes kPicture = B(Pattern(20000));

// Three files unlike each other: a full ID3v2.3 tag beside an ID3v1 tag, an ID3v1 tag
// alone, and an ID3v2.4 tag under a name holding a character a rename would replace.
class JournalTest : public EditFolder {
  protected:
    void SetUp() override { Reload(); }

    void Reload() {
        files_.clear();
        records_.clear();
        const Bytes full =
            Tag(3, Cat({Text("TIT2", "the_end-of it"), Text("TPE1", "some_artist"),
                        Text("TALB", "an album"), Text("TRCK", "03/12"), Text("TCON", "(17)"),
                        Frame("COMM", Cat({{0}, B("eng"), {0}, B("hello")})),
                        Frame("APIC", Cat({{0}, B("image/png"), {0, 3, 0}, kPicture})),
                        Frame("PRIV", B("owner\0data")),
                        // A stray terminator: the frame is written back as it was read.
                        Frame("TPE2", B(std::string_view("\0band\0", 6)))}));
        const std::string v1 =
            AsBytes(RecordWith({{3, "v1 title"}, {33, "v1 artist"}, {126, "\x04"}}));
        Add("Air - Playground.mp3", full, v1);
        ASSERT_NE(FindFrame(records_[0]->V2(), "TPE2")->KeptBody(), nullptr);
        Add("Band - Song.mp3", {}, v1);
        Add("x?y.mp3", Tag(4, Cat({Text("TIT2", "lower case", 4), Text("TPE1", "a_b", 4)})));
    }
};

// Each kind runs after an earlier edit of the first record (named twice, kept once), so undo
// has to come back both to a record that needs saving and to records as loaded. Only the
// records that changed are kept; an action that changed nothing keeps redo.
TEST_F(JournalTest, UndoAndRedoPutEveryKindOfActionBackExactly) {
    // Every kind of change a user can make to records, by what it changes in a record: frames
    // set, added or removed (cleaning, capitalizing, tags from names, track numbering and
    // comments change them as these do), the ID3v1 tag, removal marks, pictures whose data stay
    // in the file, the name.
    const std::pair<const char*, std::function<void()>> kinds[] = {
        {"field edits",
         [&] {
             for (Mp3File* record : records_) {
                 SetFrameText(record->V2(), "TALB", u"New Album", context_);
                 SetFrameText(record->V2(), "TCON", u"Rock", context_);
             }
         }},
        {"ID3v1 fields",
         [&] {
             for (Mp3File* record : records_)
                 record->V1().SetTrack(9);
         }},
        {"removal marks",
         [&] {
             records_[0]->MarkRemoveV1();
             records_[1]->MarkRemoveV2();
         }},
        {"pictures",
         [&] {
             SetPicture(records_[0]->V2(), "image/png", u"", 3, {}, context_);  // removes it
             SetPicture(records_[1]->V2(), "image/jpeg", u"front", 3, kPicture, context_);
         }},
        {"rename",
         [&] {
             Records batch = records_;
             batch::RenameBatch(u"%title - %artist", batch, engine_.settings, context_);
         }},
    };
    for (const auto& [name, change] : kinds) {
        SCOPED_TRACE(name);
        Reload();
        EditJournal journal;
        const auto loaded = TakeAll(records_);
        ASSERT_EQ(
            journal.Apply(u"earlier", Records{records_[0], records_[0]},
                          [&] { SetFrameText(records_[0]->V2(), "TYER", u"1999", context_); }),
            Records{records_[0]});
        const auto before = TakeAll(records_);
        const Records changed = journal.Apply(u"kind", records_, change);
        const auto after = TakeAll(records_);
        Records expected;
        for (std::size_t i = 0; i < records_.size(); ++i) {
            if (!(before[i] == after[i]))
                expected.push_back(records_[i]);
        }
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(changed, expected);

        EXPECT_EQ(journal.UndoName(), u"kind");
        EXPECT_EQ(journal.Undo(), expected);
        EXPECT_EQ(TakeAll(records_), before);
        EXPECT_EQ(journal.Redo(), expected);
        EXPECT_EQ(TakeAll(records_), after);
        journal.Undo();
        journal.Undo();
        EXPECT_EQ(TakeAll(records_), loaded);  // none needs saving
        EXPECT_FALSE(journal.CanUndo());
        EXPECT_TRUE(journal.Apply(u"nothing", records_, [] {}).empty());
        EXPECT_EQ(journal.RedoName(), u"earlier");
    }
}

// A change that fails half way can still be undone as far as it went.
TEST_F(JournalTest, AChangeThatThrowsIsKeptAsFarAsItWent) {
    EditJournal journal;
    const auto before = TakeAll(records_);
    EXPECT_THROW(journal.Apply(u"fails", records_,
                               [&] {
                                   SetFrameText(records_[0]->V2(), "TIT2", u"x", context_);
                                   throw std::runtime_error("disk");
                               }),
                 std::runtime_error);
    EXPECT_EQ(journal.Undo(), Records{records_[0]});
    EXPECT_EQ(TakeAll(records_), before);
}

TEST_F(JournalTest, SavedRecordsAndRecordsChangedBehindItsBackAreLeftAlone) {
    EditJournal journal;
    journal.ApplyToEach(u"album", records_, [&](Mp3File& record) {
        SetFrameText(record.V2(), "TALB", u"New", context_);
    });
    // Saved: undo must not bring back a state the disk no longer holds.
    ASSERT_TRUE(records_[0]->Save(context_));
    journal.Forget(*records_[0]);
    // Changed without the journal.
    SetFrameText(records_[1]->V2(), "TALB", u"Elsewhere", context_);
    EXPECT_EQ(journal.Undo(), Records{records_[2]});
    EXPECT_EQ(TextOf(records_[0]->V2(), "TALB"), "New");
    EXPECT_FALSE(records_[0]->NeedsSave());
    EXPECT_EQ(TextOf(records_[1]->V2(), "TALB"), "Elsewhere");
    EXPECT_EQ(TextOf(records_[2]->V2(), "TALB"), "<none>");
    // The record changed behind its back is dropped; the others can still be redone.
    EXPECT_EQ(journal.Redo(), Records{records_[2]});
    journal.Forget(*records_[2]);
    EXPECT_EQ(journal.ActionCount(), 0u);
    EXPECT_EQ(journal.MemoryBytes(), 0u);
}

// The window's road for long actions: parts, each taken back in steps when stopped.
TEST_F(JournalTest, PartsAndStepsTakenBackPutRecordsBackExactly) {
    EditJournal journal;
    std::vector<std::shared_ptr<void>> disposed;
    journal.SetDisposer([&](std::shared_ptr<void> dropped) { disposed.push_back(dropped); });
    const auto retitle = [&](std::span<Mp3File* const> part) {
        for (Mp3File* record : part)
            SetFrameText(record->V2(), "TIT2", u"Parts", context_);
    };
    const auto before = TakeAll(records_);
    journal.Begin(u"title");
    EXPECT_EQ(journal.Step(Records{records_[0], records_[1]}, retitle),
              (Records{records_[0], records_[1]}));
    EXPECT_EQ(journal.Step(Records{records_[1], records_[2]}, retitle), Records{records_[2]});
    Records putBack;
    EXPECT_TRUE(journal.AbandonSome(2, putBack));
    EXPECT_FALSE(journal.AbandonSome(2, putBack));
    EXPECT_EQ(putBack, (Records{records_[2], records_[1], records_[0]}));
    EXPECT_EQ(TakeAll(records_), before);
    EXPECT_FALSE(journal.CanUndo());

    journal.Apply(u"title", records_, [&] { retitle(records_); });
    const auto after = TakeAll(records_);
    ASSERT_TRUE(journal.BeginMove(true));
    journal.MoveSome(2);
    EXPECT_EQ(journal.MovedSoFar().size(), 2u);
    putBack.clear();
    while (journal.AbandonMoveSome(1, putBack)) {
    }
    EXPECT_EQ(putBack.size(), 2u);
    EXPECT_EQ(TakeAll(records_), after);
    EXPECT_EQ(journal.UndoName(), u"title");
    // What Redo could bring back is handed over when a new action ends it.
    EXPECT_EQ(journal.Undo().size(), records_.size());
    EXPECT_TRUE(disposed.empty());
    journal.Apply(u"again", records_, [&] { retitle(records_); });
    EXPECT_EQ(disposed.size(), 1u);
}

TEST_F(JournalTest, TheOldestActionsGoBeyondTheCountAndMemoryLimits) {
    auto retitle = [&](EditJournal& journal, int n) {
        journal.Apply(u"t" + text::FromUtf8(std::to_string(n)), Records{records_[0]}, [&] {
            SetFrameText(records_[0]->V2(), "TIT2", text::FromUtf8(std::to_string(n)), context_);
        });
    };
    EditJournal counted({.maxActions = 3});
    for (int n = 1; n <= 5; ++n)
        retitle(counted, n);
    EXPECT_EQ(counted.ActionCount(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(counted.Undo().empty());
    EXPECT_TRUE(counted.Undo().empty());
    EXPECT_EQ(TextOf(records_[0]->V2(), "TIT2"), "2");

    // One retitle of the record with the picture keeps under 1 KiB, not the picture: its
    // data stays in the file, and the frames the action did not change are shared.
    EditJournal measure;
    retitle(measure, 6);
    const std::size_t oneAction = measure.MemoryBytes();
    EXPECT_GT(oneAction, 0u);
    EXPECT_LE(oneAction, 1024u);

    EditJournal limited({.maxBytes = oneAction * 5 / 2});
    for (int n = 1; n <= 4; ++n)
        retitle(limited, n);
    EXPECT_EQ(limited.ActionCount(), 2u);
    EXPECT_LE(limited.MemoryBytes(), oneAction * 5 / 2);

    // An action larger than the whole limit is carried out and cannot be undone.
    EditJournal tiny({.maxBytes = oneAction / 2});
    retitle(tiny, 7);
    EXPECT_EQ(TextOf(records_[0]->V2(), "TIT2"), "7");
    EXPECT_FALSE(tiny.CanUndo());
    EXPECT_EQ(tiny.MemoryBytes(), 0u);
}

}  // namespace
}  // namespace velmora::testing
