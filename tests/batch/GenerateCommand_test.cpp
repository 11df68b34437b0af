#include <gtest/gtest.h>

#include "batch/BatchTestSupport.h"
#include "batch/GenerateCommand.h"
#include "batch/RenameCommand.h"
#include "settings/SettingNames.h"

namespace velmora::testing {
namespace {

using batch::GenerateTagsFromNames;
using Texts = std::vector<std::u16string>;

constexpr char16_t kArtistTitle[] = u"(?P<artist>.*) - (?P<title>.*)\\.mp3";

// The frames a name can fill, plus the year, as "ID=text;" for those present.
std::string Frames(const Mp3File& file) {
    std::string out;
    for (const char* id : {"TPE1", "TALB", "TIT2", "TRCK", "TCON", "TYER"}) {
        if (const std::string text = TextOf(file, id); text != "<none>")
            out += std::string(id) + "=" + text + ";";
    }
    return out;
}

using GenerateCommandTest = BatchFixture;

TEST_F(GenerateCommandTest, StoresEachNamedGroupInItsFrame) {
    const std::tuple<const char16_t*, const char*, const char*> rows[] = {
        {kArtistTitle, "Nina Simone - Sinnerman.mp3", "TPE1=Nina Simone;TIT2=Sinnerman;"},
        {u"(?P<year>\\d+) (?P<title>[^.]*)", "1999 Song.mp3", "TIT2=Song;"},
        {u"(?P<track>\\d+) (?P<album>\\w*)", "07 Kind_of_Blue.mp3", "TALB=Kind_of_Blue;TRCK=7;"},
        {u"(?P<genre>[^-]*)-(?P<artist>x?)", "Rock-.mp3", "TPE1=;TCON=(17);"},
        {u"(?P<genre>[^-]*)-", "rock-.mp3", "TCON=rock;"},
        {u"(?P<x>.)(y)", "by.mp3", ""},
        {u"", "any.mp3", ""},
    };
    for (const auto& [expression, fileName, frames] : rows) {
        std::vector<Mp3File*> one{AddFile(fileName)};
        EXPECT_TRUE(GenerateTagsFromNames(expression, one, *store_, *context_));
        EXPECT_EQ(Frames(*one[0]), frames) << fileName;
    }
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(GenerateCommandTest, PreviewsThenReportsEachNameThatDoesNotMatch) {
    Mp3File* first = AddFile("Air - Alpha.mp3");
    Mp3File* second = AddFile("Nothing Here.mp3");
    Mp3File* capitals = AddFile("Air - Beta.MP3");
    const auto previews = batch::PreviewGenerate(kArtistTitle, batch_);
    ASSERT_TRUE(previews.size() == 3u && previews[0] && previews[0]->size() == 2u);
    const auto& title = (*previews[0])[1];
    EXPECT_EQ(std::tie(title.frame, title.group, title.text),
              std::tie(frame_ids::kTit2, u"title", u"Alpha"));
    EXPECT_FALSE(previews[1] || previews[2] || first->NeedsSave());
    EXPECT_TRUE(GenerateTagsFromNames(kArtistTitle, batch_, *store_, *context_));
    EXPECT_EQ(messages_.Texts(), Texts(2, u"The regular expression didn't match the filename"));
    EXPECT_EQ(messages_.Shown()[0].caption, u"Error");
    EXPECT_EQ(Frames(*first), "TPE1=Air;TIT2=Alpha;");
    EXPECT_FALSE(second->NeedsSave() || capitals->NeedsSave());
}

TEST_F(GenerateCommandTest, OnlyAnExpressionThatCompilesIsStored) {
    Mp3File* file = AddFile("Air - Alpha.mp3");
    EXPECT_FALSE(GenerateTagsFromNames(u"(?P<artist>.*", batch_, *store_, *context_));
    EXPECT_EQ(messages_.Texts(), Texts{u"The regular expression you entered could not be parsed."});
    EXPECT_FALSE(file->NeedsSave());
    EXPECT_THROW(batch::PreviewGenerate(u"(", batch_), regex::REGEXPERROR);
    for (const char16_t* expression : {u"zzz", kArtistTitle, u"zzz"})
        EXPECT_TRUE(GenerateTagsFromNames(expression, batch_, *store_, *context_));
    EXPECT_EQ(batch::RecentGenerateExpressions(*store_), (Texts{kArtistTitle, u"zzz"}));
}

TEST_F(GenerateCommandTest, MatchesTheNameOfAPendingRename) {
    Mp3File* file = AddFile("track01.mp3", {Text("TPE1", "Air"), Text("TIT2", "Alpha")});
    ASSERT_TRUE(batch::RenameBatch(u"%artist - %title", batch_, *store_, *context_));
    SetFrameText(*file, frame_ids::kTpe1, u"changed", *context_);
    EXPECT_TRUE(GenerateTagsFromNames(kArtistTitle, batch_, *store_, *context_));
    EXPECT_EQ(TextOf(*file, "TPE1"), "Air");
}

}  // namespace
}  // namespace velmora::testing
