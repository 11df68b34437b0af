#include <gtest/gtest.h>

#include "batch/BatchTestSupport.h"
#include "batch/RenameCommand.h"
#include "batch/RenamePattern.h"
#include "settings/SettingNames.h"

namespace velmora::testing {
namespace {

using batch::CompileRenamePattern;
using batch::RenameBatch;
using Names = std::vector<std::u16string>;

Bytes With(const char* id, const char* text) {
    return Tag(3, Frame(id, TextBody(text)));
}

TEST(RenamePattern, ExpandsVariablesFromTheTag) {
    const Bytes airTitle =
        Tag(3, Cat({Frame("TPE1", TextBody("Air")), Frame("TIT2", TextBody("Playground"))}));
    const struct {
        const char* expression;
        Bytes tag;
        const char* expected;
    } rows[] = {
        {"", airTitle, ".mp3"},
        {"%artist - %title", airTitle, "Air - Playground.mp3"},
        {"%artist - %track - %title", With("TIT2", "X"), " -  - X.mp3"},
        {"%artist2", airTitle, "Air2.mp3"},
        {"%album%artist", airTitle, "Air.mp3"},
        {"%track", With("TRCK", "5"), "05.mp3"},
        {"%track", With("TRCK", "12"), "12.mp3"},
        {"%track", With("TRCK", "5/12"), "5/12.mp3"},
        {"%year", With("TYER", "1999"), "1999.mp3"},
        {"%year", Tag(4, Frame("TDRC", TextBody("2001"), 4)), "2001.mp3"},
        {"%genre", With("TCON", "(17)"), "Rock.mp3"},
        {"%genre", With("TCON", "(9)Rock"), "Rock.mp3"},
        {"%genre", With("TCON", "(200)"), ".mp3"},
        {"%genre", With("TCON", "Trance"), "Trance.mp3"},
        {"x.%title", With("TIT2", " Spaced "), "x. Spaced .mp3"},
    };
    TestEngine engine;
    for (const auto& row : rows) {
        const auto compiled = CompileRenamePattern(U(row.expression));
        ASSERT_TRUE(compiled.pattern) << row.expression;
        EXPECT_EQ(compiled.pattern->Expand(*ReadBytes(row.tag, engine).tag, Cp1252()),
                  U(row.expected))
            << row.expression;
    }
}

TEST(RenamePattern, NamesTheFieldItDoesNotKnow) {
    const std::pair<const char*, const char*> rows[] = {
        {"%Artist", "Artist"},   {"%%", ""},       {"50%", ""},
        {"%artists", "artists"}, {"%-%title", ""}, {"%title %TRACK", "TRACK"},
    };
    for (const auto& [expression, field] : rows) {
        const auto compiled = CompileRenamePattern(U(expression));
        EXPECT_FALSE(compiled.pattern) << expression;
        EXPECT_EQ(compiled.unrecognizedField, U(field)) << expression;
    }
}

class RenameCommandTest : public BatchFixture {
  protected:
    Names Renames() const { return store_->ReadList(settings::kRenames); }
};

TEST_F(RenameCommandTest, RenamesInMemoryAndDropsUnchangedFilesFromTheBatch) {
    Mp3File* acdc =
        AddFile("one.MP3", {Text("TPE1", "AC/DC"), Text("TRCK", "5/12"), Text("TIT2", "Why?")});
    Mp3File* bare = AddFile("two.mp3", {Text("TRCK", "7")});
    const std::vector<Mp3File*> all = batch_;
    EXPECT_TRUE(RenameBatch(u"%artist - %track - %title", batch_, *store_, *context_));
    EXPECT_EQ(acdc->Name(), u"AC DC - 5 12 - Why .mp3");
    EXPECT_EQ(bare->Name(), u" - 07 - .mp3");
    EXPECT_EQ(acdc->DiskName(), u"one.MP3");
    EXPECT_EQ(batch_, all);
    EXPECT_TRUE(messages_.Shown().empty());
    // Again: a name whose characters were replaced never equals its expansion, so stays.
    EXPECT_TRUE(RenameBatch(u"%artist - %track - %title", batch_, *store_, *context_));
    EXPECT_EQ(batch_, std::vector<Mp3File*>{acdc});
}

TEST_F(RenameCommandTest, AnUnknownFieldTouchesNoFileButIsRemembered) {
    Mp3File* file = AddFile("a.mp3", {Text("TPE1", "Air")});
    EXPECT_FALSE(RenameBatch(u"%Artist", batch_, *store_, *context_));
    ASSERT_EQ(messages_.Texts(), Names{u"Unrecognized field: Artist"});
    EXPECT_EQ(messages_.Shown()[0].caption, u"Error");
    EXPECT_EQ(file->Name(), u"a.mp3");
    EXPECT_EQ(batch_.size(), 1u);
    EXPECT_EQ(Renames(), Names{u"%Artist"});
}

TEST_F(RenameCommandTest, RecentListIsSeededAndOrderedByLastUse) {
    const std::u16string seed = u"%artist - %track - %title";
    EXPECT_EQ(batch::RecentRenameExpressions(*store_), Names{seed});
    EXPECT_EQ(Renames(), Names{seed});
    for (const char16_t* expression : {u"%title", u"%track %title", u"%title"})
        RenameBatch(expression, batch_, *store_, *context_);
    EXPECT_EQ(batch::RecentRenameExpressions(*store_), (Names{seed, u"%track %title", u"%title"}));
    batch::ForgetRenameExpression(*store_, u"%track %title");
    EXPECT_EQ(Renames(), (Names{seed, u"%title"}));
}

TEST_F(RenameCommandTest, PreviewShowsTheStoredNameAndChangesNothing) {
    Mp3File* acdc = AddFile("x.mp3", {Text("TPE1", "AC/DC")});
    AddFile("Air.mp3", {Text("TPE1", "Air")});
    const auto previews =
        batch::PreviewRename(*batch::CompileRenamePattern(u"%artist").pattern, batch_, Cp1252());
    ASSERT_EQ(previews.size(), 2u);
    EXPECT_EQ(previews[0].newName, u"AC DC.mp3");
    EXPECT_TRUE(previews[0].changes);
    EXPECT_FALSE(previews[1].changes);
    EXPECT_EQ(acdc->Name(), u"x.mp3");
    EXPECT_TRUE(Renames().empty());
}

}  // namespace
}  // namespace velmora::testing
