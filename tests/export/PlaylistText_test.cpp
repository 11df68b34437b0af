#include <gtest/gtest.h>

#include <string>

#include "ExportTestFiles.h"
#include "export/PlaylistText.h"
#include "text/FileName.h"

namespace velmora {
namespace {

using testing::Cp1252;

TEST(OneLine, LineBreaksBecomeSpaces) {
    EXPECT_EQ(OneLine(u"a\r\nb\nc\rd"), u"a  b c d");
    EXPECT_EQ(OneLine(u"\n"), u" ");
    EXPECT_EQ(OneLine(u"plain\ttab"), u"plain\ttab");
}

struct ExtensionCase {
    const char16_t* path;
    bool m3u8;
};

class HasExtensionTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(HasExtensionTest, LooksAtTheLastNameOnly) {
    EXPECT_EQ(HasExtension(GetParam().path, u"m3u8"), GetParam().m3u8);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, HasExtensionTest,
    ::testing::Values(ExtensionCase{u"/a/list.m3u8", true}, ExtensionCase{u"list.M3U8", true},
                      ExtensionCase{u"/a/.m3u8", true}, ExtensionCase{u"/a/list.m3u", false},
                      ExtensionCase{u"/a/listm3u8", false}, ExtensionCase{u"/a.m3u8/list", false},
                      ExtensionCase{u"m3u8", false}, ExtensionCase{u"/a/list.m3u8.pls", false}));

TEST(PlaylistText, M3u8IsUtf8WithLosslessEntries) {
    const PlaylistText text(Cp1252(), u"/a/list.m3u8");
    EXPECT_TRUE(text.IsUtf8());
    EXPECT_EQ(text.Text(u"\u00E9\u4E2D\U0001F600"), "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(text.Entry(text::FileNameToText("caf\xE9.mp3")), "caf\xE9.mp3");
    EXPECT_EQ(text.Text(u"x\ny"), "x y");
}

TEST(PlaylistText, OtherTargetsUseTheCodePage) {
    const PlaylistText text(Cp1252(), u"/a/list.m3u");
    EXPECT_FALSE(text.IsUtf8());
    EXPECT_EQ(text.Text(u"\u00E9\u4E2D"), "\xE9?");
    EXPECT_EQ(text.Entry(u"\u4E2D.mp3"), "?.mp3");
    EXPECT_EQ(text.Text(u"x\r\ny"), "x  y");
}

}  // namespace
}  // namespace velmora
