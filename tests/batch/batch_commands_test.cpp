#include <gtest/gtest.h>

#include "batch/CellEdits.h"
#include "batch/GenerateCommand.h"
#include "batch/RenameCommand.h"
#include "batch/RenamePattern.h"
#include "batch/TrackNumbering.h"
#include "export/CsvImport.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/RecordFolder.h"
#include "tags/record/Mp3File.h"
#include "text/Utf8.h"

namespace velmora::testing {
namespace {

using batch::CompileRenamePattern;
using batch::GenerateTagsFromNames;
using batch::RenameBatch;
using Texts = std::vector<std::u16string>;
using text::FromUtf8;

Bytes Text(std::string_view id, std::string_view latin1) {
    return Frame(id, TextBody(latin1));
}

// A real settings store (for the recent lists) and MP3 files in a scratch folder.
class BatchTest : public RecordFolder {
  protected:
    void SetUp() override { ASSERT_NE(store_, nullptr); }

    // A file holding an ID3v2.3 tag with the frames and a few bytes of silence.
    Mp3File* AddFile(const std::string& name, std::initializer_list<Bytes> frames = {}) {
        Write(name, Cat({Tag(3, Cat(frames)), Bytes(16, 0)}));
        files_.push_back(Load(name));
        batch_.push_back(files_.back().get());
        return files_.back().get();
    }

    std::unique_ptr<SettingsStore> store_ = SettingsStore::Open(dir_.Path("settings.toml")).store;
    EngineContext& context_ = engine_.context;
    RecordingMessageSink& messages_ = engine_.messages;
    std::vector<std::unique_ptr<Mp3File>> files_;
    std::vector<Mp3File*> batch_;
};

// Each edit as "file column value|".
std::u16string Dump(const std::vector<batch::CellEdit>& edits) {
    std::u16string text;
    for (const batch::CellEdit& edit : edits)
        text += edit.record->Name() + u" " + std::u16string(ColumnInfoOf(edit.column).header) +
                u" " + edit.value + u"|";
    return text;
}

Bytes With(const char* id, const char* text) {
    return Tag(3, Text(id, text));
}

TEST(RenamePattern, ExpandsVariablesFromTheTag) {
    const Bytes air = Tag(3, Cat({Text("TPE1", "Air"), Text("TIT2", "Playground")}));
    // The last column: every field was empty, so the name is the pattern's own text.
    const std::tuple<const char*, Bytes, const char*, bool> rows[] = {
        {"%artist - %title", air, "Air - Playground.mp3", false},
        {"%artist2", air, "Air2.mp3", false},
        {"%track", With("TRCK", "5"), "05.mp3", false},
        {"%track", With("TRCK", "5/12"), "5/12.mp3", false},
        {"%year", With("TYER", "1999"), "1999.mp3", false},
        {"%year", Tag(4, Frame("TDRC", TextBody("2001"), 4)), "2001.mp3", false},
        {"%genre", With("TCON", "(17)"), "Rock.mp3", false},
        {"%genre", With("TCON", "(200)"), ".mp3", true},
        {"%artist - %title", With("TALB", "A"), " - .mp3", true},
        {"%album - %title", With("TALB", "A"), "A - .mp3", false},
        {"fixed", With("TALB", "A"), "fixed.mp3", false},
        {"x.%title", With("TIT2", " Spaced "), "x. Spaced .mp3", false}};
    TestEngine engine;
    for (const auto& [expression, tag, expected, onlyPatternText] : rows) {
        const auto compiled = CompileRenamePattern(FromUtf8(expression));
        ASSERT_TRUE(compiled.pattern) << expression;
        const auto expansion = compiled.pattern->Expand({*ReadBytes(tag, engine).tag}, Cp1252());
        EXPECT_EQ(expansion.name, FromUtf8(expected)) << expression;
        EXPECT_EQ(expansion.onlyPatternText, onlyPatternText) << expression;
    }
}

TEST(RenamePattern, NamesTheFieldItDoesNotKnow) {
    const std::pair<const char*, const char*> rows[] = {
        {"%Artist", "Artist"},   {"%%", ""},       {"50%", ""},
        {"%artists", "artists"}, {"%-%title", ""}, {"%title %TRACK", "TRACK"}};
    for (const auto& [expression, field] : rows) {
        const auto compiled = CompileRenamePattern(FromUtf8(expression));
        EXPECT_FALSE(compiled.pattern) << expression;
        EXPECT_EQ(compiled.unrecognizedField, FromUtf8(field)) << expression;
    }
}

// A plan made a record at a time counts runs of one record's edits and ends as the plan made
// in one go: the same changes, the same refusals in the same order.
TEST_F(BatchTest, CellPlanInPartsCountsRecordsAndEndsAsTheWholePlan) {
    Mp3File* a = AddFile("a.mp3", {Text("TIT2", "Old")});
    Mp3File* b = AddFile("b.mp3", {Text("TIT2", "Same")});
    Mp3File* c = AddFile("c.mp3");
    const std::vector<batch::CellEdit> wanted = {
        {a, Column::Title, u"New"},      {a, Column::Year, u"19x9"},   {b, Column::Title, u"Same"},
        {b, Column::Filename, u"c.mp3"}, {c, Column::Bitrate, u"128"}, {c, Column::Year, u"1999"}};
    batch::CellPlanner planner(wanted, context_.codePage);
    EXPECT_EQ(planner.RecordsTotal(), 3u);
    std::vector<std::size_t> done;
    while (planner.Step(1))
        done.push_back(planner.RecordsDone());
    done.push_back(planner.RecordsDone());
    EXPECT_EQ(done, (std::vector<std::size_t>{1, 2, 3}));
    const batch::CellPlan parts = planner.Finish();
    const batch::CellPlan whole = batch::PlanCellEdits(wanted, context_.codePage);
    EXPECT_EQ(Dump(parts.changes), u"a.mp3 Title New|c.mp3 Year 1999|");
    ASSERT_EQ(parts.refusals.size(), 3u);
    ASSERT_EQ(whole.refusals.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(MessageText(parts.refusals[i], u" "), MessageText(whole.refusals[i], u" "));
}

// One line pasted goes to every row, else line i to row i, its fields to the columns in turn
// (those beyond them dropped); another count of lines fits no selection (PasteFits).
TEST_F(BatchTest, PasteGivesOneLineToEveryRowOrALineToEachRow) {
    AddFile("a.mp3");
    AddFile("b.mp3");
    const Column columns[] = {Column::Artist, Column::Album};
    const std::pair<std::vector<Texts>, const char16_t*> rows[] = {
        {{{u"One", u"Two", u"gone"}},
         u"a.mp3 Artist One|a.mp3 Album Two|b.mp3 Artist One|b.mp3 Album Two|"},
        {{{u"x"}, {u"y"}}, u"a.mp3 Artist x|b.mp3 Artist y|"},
        {{{u"1"}, {u"2"}, {u"3"}}, u""}};
    for (const auto& [lines, edits] : rows)
        EXPECT_EQ(Dump(batch::PasteEdits(batch_, columns, lines)), edits);
}

// A row imported matches the record at its path, else the one record of its file name; rows
// that match none are named, rows that match one record between them are not imported; the
// file's facts (Bitrate) are not imported. A spreadsheet of a locale that saves semicolons is
// read as it was saved, a header as a user retyped it. A header or a row that does not fit
// refuses the whole document.
TEST_F(BatchTest, CsvImportMatchesByPathThenByNameAndRefusesADocumentThatDoesNotFit) {
    AddFile("a.mp3");
    AddFile("b.mp3");
    AddFile("c.mp3");
    const std::string root = dir_.Root().string();
    const CsvImportEdits edits = MatchCsvImport(
        ReadCsvImport("path;TITLE ;Bitrate\r\n" + root +
                      "/a.mp3;New, A;1\r\n/elsewhere/b.mp3;\"New\nB\";96\r\n/x/none.mp3;;\r\n" +
                      root + "/c.mp3;C;\r\n/elsewhere/c.mp3;C2;\r\n"),
        batch_);
    EXPECT_EQ(Dump(edits.wanted), u"a.mp3 Title New, A|b.mp3 Title New\nB|");
    EXPECT_EQ(edits.unmatched, Texts{u"/x/none.mp3"});
    EXPECT_EQ(MessageText(edits.refusals.at(0), u"\n"),
              u"c.mp3: rows 5 and 6 of the table both name this file, so none of its rows is "
              u"imported");
    const std::pair<const char*, const char16_t*> refused[] = {
        {"", u"the file is empty"},
        {"Title\r\n", u"the first column of the header must be \"Path\""},
        {"Path,Titel\r\n", u"the header names an unknown column \"Titel\""},
        {"Path,Title,Title\r\n", u"the header names the column \"Title\" twice"},
        {"Path,Title\r\nx\r\n", u"row 2 has 1 fields where the header has 2"},
        {"Path,Title\r\nx,\"y\r\n", u"line 2: a quoted field is not closed"},
        {"Path,Title\r\nx,\"y\"z\r\n", u"line 2: text after the closing quote of a field"}};
    for (const auto& [document, error] : refused) {
        const CsvImportTable table = ReadCsvImport(document);
        EXPECT_EQ(std::pair(table.error, table.rows.size()),
                  std::pair(std::u16string(error), std::size_t{0}))
            << document;
    }
}

TEST_F(BatchTest, RenamePreviewsThenRenamesInMemoryAndDropsUnchangedFilesFromTheBatch) {
    Mp3File* acdc =
        AddFile("one.MP3", {Text("TPE1", "AC/DC"), Text("TRCK", "5/12"), Text("TIT2", "Why?")});
    AddFile(" - 07 - .mp3", {Text("TRCK", "7")});
    Mp3File* untagged = AddFile("untagged.mp3", {Text("TALB", "A")});
    // Fields its ID3v2 tag lacks come from the ID3v1 tag.
    Mp3File* v1Only = AddFile("v1.mp3");
    v1Only->V1().SetText(Id3v1Tag::kArtist, u"Band");
    v1Only->V1().SetTrack(3);
    const std::u16string pattern = u"%artist - %track - %title";
    const auto previews =
        batch::PreviewRename(*CompileRenamePattern(pattern).pattern, batch_, Cp1252());
    ASSERT_EQ(previews.size(), 4u);
    EXPECT_EQ(previews[0].newName, u"AC DC - 5 12 - Why .mp3");
    EXPECT_EQ(previews[3].newName, u"Band - 03 - .mp3");
    EXPECT_EQ(std::pair(previews[0].changes, previews[1].changes), std::pair(true, false));
    EXPECT_FALSE(previews[0].refusal || previews[1].refusal);
    ASSERT_TRUE(previews[2].refusal);
    EXPECT_EQ(previews[2].refusal->detail, u"every field of the pattern is empty for this file");
    EXPECT_EQ(acdc->Name(), u"one.MP3");
    EXPECT_TRUE(store_->Root().ReadList(settings::kRenames).empty());
    EXPECT_TRUE(RenameBatch(pattern, batch_, store_->Root(), context_));
    EXPECT_EQ(batch_, (std::vector<Mp3File*>{acdc, v1Only}));
    // A name whose characters were replaced never equals its expansion, so stays.
    EXPECT_TRUE(RenameBatch(pattern, batch_, store_->Root(), context_));
    EXPECT_EQ(batch_, std::vector<Mp3File*>{acdc});
    EXPECT_EQ(v1Only->Name(), u"Band - 03 - .mp3");
    EXPECT_EQ(acdc->Name(), u"AC DC - 5 12 - Why .mp3");
    EXPECT_EQ(acdc->DiskName(), u"one.MP3");
    EXPECT_EQ(untagged->Name(), u"untagged.mp3");
    EXPECT_EQ(messages_.Texts(), Texts{MessageText(*previews[2].refusal, u"\n")});
}

TEST_F(BatchTest, RenameRecentListIsSeededOrderedByLastUseAndKeepsAnUnknownField) {
    const std::u16string seed = u"%artist - %track - %title";
    EXPECT_EQ(batch::RecentRenameExpressions(store_->Root()), Texts{seed});
    Mp3File* file = AddFile("a.mp3", {Text("TPE1", "Air")});
    EXPECT_FALSE(RenameBatch(u"%Artist", batch_, store_->Root(), context_));
    ASSERT_EQ(messages_.Texts(), Texts{u"Unrecognized field: Artist"});
    EXPECT_EQ(messages_.Shown()[0].caption, u"Error");
    EXPECT_EQ(file->Name(), u"a.mp3");
    batch_.clear();
    for (const char16_t* expression : {u"%title", u"%track %title", u"%title"})
        RenameBatch(expression, batch_, store_->Root(), context_);
    EXPECT_EQ(store_->Root().ReadList(settings::kRenames),
              (Texts{seed, u"%Artist", u"%track %title", u"%title"}));
    batch::ForgetRenameExpression(store_->Root(), u"%track %title");
    EXPECT_EQ(store_->Root().ReadList(settings::kRenames), (Texts{seed, u"%Artist", u"%title"}));
}

constexpr char16_t kArtistTitle[] = u"(?P<artist>.*) - (?P<title>.*)\\.mp3";

// The frames a name fills, as "ID=text" in the tag's order.
TEST_F(BatchTest, GenerateStoresEachNamedGroupInItsFrame) {
    const std::tuple<const char16_t*, const char*, const char*> rows[] = {
        {kArtistTitle, "Nina Simone - Sinnerman.mp3", "TPE1=Nina Simone|TIT2=Sinnerman"},
        {u"(?P<year>\\d+) (?P<title>[^.]*)", "1999 Song.mp3", "TIT2=Song|TYER=1999"},
        {u"(?P<track>\\d+) (?P<album>\\w*)", "07 Kind_of_Blue.mp3", "TALB=Kind_of_Blue|TRCK=7"},
        {u"(?P<genre>[^-]*)-(?P<artist>x?)", "Rock-.mp3", "TPE1=|TCON=(17)"},
        {u"(?P<genre>[^-]*)-", "rock-.mp3", "TCON=rock"},
        // Bytes of the name that are not UTF-8 read through the code page.
        {u"(?P<title>[^.]*)", "caf\xE9 \xF0\x9F\x8E\xB5.mp3", "TIT2=caf\xC3\xA9 \xF0\x9F\x8E\xB5"},
        {u"(?P<x>.)(y)", "by.mp3", ""},
        {u"", "any.mp3", ""},
    };
    for (const auto& [expression, fileName, frames] : rows) {
        std::vector<Mp3File*> one{AddFile(fileName)};
        EXPECT_TRUE(GenerateTagsFromNames(expression, one, store_->Root(), context_));
        EXPECT_EQ(Describe(one[0]->V2()), frames) << fileName;
    }
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(BatchTest, GeneratePreviewsThenReportsEachNameThatDoesNotMatch) {
    Mp3File* first = AddFile("Air - Alpha.mp3");
    Mp3File* second = AddFile("Nothing Here.mp3");
    Mp3File* capitals = AddFile("Air - Beta.MP3");
    const auto preview = batch::PreviewGenerate(kArtistTitle, batch_, Cp1252());
    const auto& previews = preview.captures;
    ASSERT_TRUE(!preview.compileError && previews.size() == 3u && previews[0] &&
                previews[0]->size() == 2u);
    const auto& title = (*previews[0])[1];
    EXPECT_EQ(std::tie(title.frame, title.group, title.text),
              std::tie(frame_ids::kTit2, u"title", u"Alpha"));
    EXPECT_FALSE(previews[1] || previews[2] || first->NeedsSave());
    EXPECT_TRUE(GenerateTagsFromNames(kArtistTitle, batch_, store_->Root(), context_));
    EXPECT_EQ(messages_.Texts(), Texts(2, u"The regular expression didn't match the filename"));
    EXPECT_EQ(messages_.Shown()[0].caption, u"Error");
    EXPECT_EQ(Describe(first->V2()), "TPE1=Air|TIT2=Alpha");
    EXPECT_FALSE(second->NeedsSave() || capitals->NeedsSave());
}

TEST_F(BatchTest, GenerateStoresOnlyAnExpressionThatCompiles) {
    Mp3File* file = AddFile("Air - Alpha.mp3");
    EXPECT_FALSE(GenerateTagsFromNames(u"(?P<artist>.*", batch_, store_->Root(), context_));
    EXPECT_EQ(messages_.Texts(), Texts{u"The regular expression you entered could not be parsed."});
    EXPECT_FALSE(file->NeedsSave());
    const auto broken = batch::PreviewGenerate(u"(", batch_, Cp1252());
    EXPECT_EQ(broken.compileError, regex::REGEXPERROR::UnclosedGroup);
    EXPECT_TRUE(broken.captures.empty());
    for (const char16_t* expression : {u"zzz", kArtistTitle, u"zzz"})
        EXPECT_TRUE(GenerateTagsFromNames(expression, batch_, store_->Root(), context_));
    EXPECT_EQ(batch::RecentGenerateExpressions(store_->Root()), (Texts{kArtistTitle, u"zzz"}));
}

TEST_F(BatchTest, GenerateMatchesTheNameOfAPendingRename) {
    Mp3File* file = AddFile("track01.mp3", {Text("TPE1", "Air"), Text("TIT2", "Alpha")});
    ASSERT_TRUE(batch::RenameBatch(u"%artist - %title", batch_, store_->Root(), context_));
    SetFrameText(file->V2(), frame_ids::kTpe1, u"changed", context_);
    EXPECT_TRUE(GenerateTagsFromNames(kArtistTitle, batch_, store_->Root(), context_));
    EXPECT_EQ(TextOf(file->V2(), "TPE1"), "Air");
}

TEST(TrackNumbering, NumbersNewlySelectedRowsInOrderWhileOnAndRestartsAtOne) {
    TestEngine engine;
    batch::TrackNumbering numbering;
    Id3v2Tag tags[10];
    EXPECT_FALSE(numbering.NumberNext(tags[0], engine.context));  // mode off
    EXPECT_EQ(TextOf(tags[0], "TRCK"), "<none>");
    numbering.SwitchOn();
    EXPECT_EQ(numbering.Caption(), u"Track 1");

    SetFrameText(tags[1], frame_ids::kTrck, u"5/12", engine.context);
    for (auto& tag : tags)
        EXPECT_TRUE(numbering.NumberNext(tag, engine.context));
    EXPECT_EQ(TextOf(tags[1], "TRCK"), "2");
    EXPECT_EQ(TextOf(tags[9], "TRCK"), "10");
    EXPECT_EQ(numbering.Caption(), u"Track 11");

    numbering.SwitchOff();
    EXPECT_EQ(numbering.Caption(), u"Track #");
    numbering.SwitchOn();
    numbering.NumberNext(tags[5], engine.context);
    EXPECT_EQ(TextOf(tags[5], "TRCK"), "1");
}

}  // namespace
}  // namespace velmora::testing
