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
    const Bytes air =
        Tag(3, Cat({Frame("TPE1", TextBody("Air")), Frame("TIT2", TextBody("Playground"))}));
    const std::tuple<const char*, Bytes, const char*> rows[] = {
        {"%artist - %title", air, "Air - Playground.mp3"},
        {"%artist2", air, "Air2.mp3"},
        {"%track", With("TRCK", "5"), "05.mp3"},
        {"%track", With("TRCK", "5/12"), "5/12.mp3"},
        {"%year", With("TYER", "1999"), "1999.mp3"},
        {"%year", Tag(4, Frame("TDRC", TextBody("2001"), 4)), "2001.mp3"},
        {"%genre", With("TCON", "(17)"), "Rock.mp3"},
        {"%genre", With("TCON", "(9)Rock"), "Rock.mp3"},
        {"%genre", With("TCON", "(200)"), ".mp3"},
        {"x.%title", With("TIT2", " Spaced "), "x. Spaced .mp3"}};
    TestEngine engine;
    for (const auto& [expression, tag, expected] : rows) {
        const auto compiled = CompileRenamePattern(U(expression));
        ASSERT_TRUE(compiled.pattern) << expression;
        EXPECT_EQ(compiled.pattern->Expand(*ReadBytes(tag, engine).tag, Cp1252()), U(expected))
            << expression;
    }
}

TEST(RenamePattern, NamesTheFieldItDoesNotKnow) {
    const std::pair<const char*, const char*> rows[] = {
        {"%Artist", "Artist"},   {"%%", ""},       {"50%", ""},
        {"%artists", "artists"}, {"%-%title", ""}, {"%title %TRACK", "TRACK"}};
    for (const auto& [expression, field] : rows) {
        const auto compiled = CompileRenamePattern(U(expression));
        EXPECT_FALSE(compiled.pattern) << expression;
        EXPECT_EQ(compiled.unrecognizedField, U(field)) << expression;
    }
}

using RenameCommandTest = BatchFixture;

TEST_F(RenameCommandTest, PreviewsThenRenamesInMemoryAndDropsUnchangedFilesFromTheBatch) {
    Mp3File* acdc =
        AddFile("one.MP3", {Text("TPE1", "AC/DC"), Text("TRCK", "5/12"), Text("TIT2", "Why?")});
    AddFile(" - 07 - .mp3", {Text("TRCK", "7")});
    const std::u16string pattern = u"%artist - %track - %title";
    const auto previews =
        batch::PreviewRename(*CompileRenamePattern(pattern).pattern, batch_, Cp1252());
    ASSERT_EQ(previews.size(), 2u);
    EXPECT_EQ(previews[0].newName, u"AC DC - 5 12 - Why .mp3");
    EXPECT_EQ(std::pair(previews[0].changes, previews[1].changes), std::pair(true, false));
    EXPECT_EQ(acdc->Name(), u"one.MP3");
    EXPECT_TRUE(store_->ReadList(settings::kRenames).empty());
    for (int run = 0; run < 2; ++run) {
        EXPECT_TRUE(RenameBatch(pattern, batch_, *store_, *context_));
        // A name whose characters were replaced never equals its expansion, so stays.
        EXPECT_EQ(batch_, std::vector<Mp3File*>{acdc});
    }
    EXPECT_EQ(acdc->Name(), u"AC DC - 5 12 - Why .mp3");
    EXPECT_EQ(acdc->DiskName(), u"one.MP3");
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(RenameCommandTest, RecentListIsSeededOrderedByLastUseAndKeepsAnUnknownField) {
    const std::u16string seed = u"%artist - %track - %title";
    EXPECT_EQ(batch::RecentRenameExpressions(*store_), Names{seed});
    Mp3File* file = AddFile("a.mp3", {Text("TPE1", "Air")});
    EXPECT_FALSE(RenameBatch(u"%Artist", batch_, *store_, *context_));
    ASSERT_EQ(messages_.Texts(), Names{u"Unrecognized field: Artist"});
    EXPECT_EQ(messages_.Shown()[0].caption, u"Error");
    EXPECT_EQ(file->Name(), u"a.mp3");
    batch_.clear();
    for (const char16_t* expression : {u"%title", u"%track %title", u"%title"})
        RenameBatch(expression, batch_, *store_, *context_);
    EXPECT_EQ(store_->ReadList(settings::kRenames),
              (Names{seed, u"%Artist", u"%track %title", u"%title"}));
    batch::ForgetRenameExpression(*store_, u"%track %title");
    EXPECT_EQ(store_->ReadList(settings::kRenames), (Names{seed, u"%Artist", u"%title"}));
}

}  // namespace
}  // namespace velmora::testing
