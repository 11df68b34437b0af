#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "export/PlaylistEntryPath.h"
#include "support/ScratchDirectory.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDirectory;
using text::FromUtf8;

struct RelativeCase {
    const char* fileFolder;
    const char* playlistFolder;
    const char* expected;
};

class RelativeEntryTest : public ::testing::TestWithParam<RelativeCase> {};

TEST_P(RelativeEntryTest, GivesThePathFromThePlaylistFolder) {
    const RelativeCase& c = GetParam();
    EXPECT_EQ(
        text::ToUtf8(RelativeEntry(FromUtf8(c.fileFolder), u"a.mp3", FromUtf8(c.playlistFolder))),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RelativeEntryTest,
    ::testing::Values(RelativeCase{"/music", "/music", "a.mp3"},
                      RelativeCase{"/music/rock/70s", "/music", "rock/70s/a.mp3"},
                      RelativeCase{"/music", "/music/lists", "../a.mp3"},
                      RelativeCase{"/music/jazz", "/music/rock", "../jazz/a.mp3"},
                      RelativeCase{"/music", "/", "music/a.mp3"},
                      RelativeCase{"/", "/music", "../a.mp3"},
                      RelativeCase{"/music", "/musical", "../music/a.mp3"},
                      // No relative path between a relative and an absolute folder.
                      RelativeCase{"/music", "lists", "/music/a.mp3"}));

std::u16string Text(const fs::path& path) {
    return text::FileNameToText(path.native());
}

TEST(PlaylistEntryPath, PlaylistBesideTheFileGivesTheName) {
    ScratchDirectory dir;
    EXPECT_EQ(PlaylistEntryPath(Text(dir.Root()), u"a.mp3", Text(dir.Path("list.m3u"))), u"a.mp3");
}

TEST(PlaylistEntryPath, FolderWithTrailingSeparatorOrDotsIsTheSameFolder) {
    ScratchDirectory dir;
    fs::create_directory(dir.Path("sub"));
    const std::u16string playlist = Text(dir.Path("list.m3u"));
    EXPECT_EQ(PlaylistEntryPath(Text(dir.Root()) + u"/", u"a.mp3", playlist), u"a.mp3");
    EXPECT_EQ(PlaylistEntryPath(Text(dir.Path("sub")) + u"/..", u"a.mp3", playlist), u"a.mp3");
    EXPECT_EQ(PlaylistEntryPath(Text(dir.Path("sub")) + u"/.", u"a.mp3", playlist), u"sub/a.mp3");
}

TEST(PlaylistEntryPath, RelativePlaylistPathIsTakenFromTheWorkingFolder) {
    ScratchDirectory dir;
    fs::create_directory(dir.Path("sub"));
    const fs::path before = fs::current_path();
    fs::current_path(dir.Root());
    const std::u16string entry = PlaylistEntryPath(Text(dir.Path("sub")), u"a.mp3", u"list.m3u");
    fs::current_path(before);
    EXPECT_EQ(entry, u"sub/a.mp3");
}

// A player joins the playlist's folder and the entry and lets the kernel resolve "..",
// which follows the physical parent of a linked folder.
TEST(PlaylistEntryPath, LinkedFoldersAreResolvedSoTheEntryLeadsToTheFile) {
    ScratchDirectory dir;
    fs::create_directories(dir.Path("real/lists"));
    fs::create_directories(dir.Path("songs"));
    dir.WriteFile("songs/a.mp3", "x");
    fs::create_directory_symlink(dir.Path("real/lists"), dir.Path("lists"));
    const std::u16string entry =
        PlaylistEntryPath(Text(dir.Path("songs")), u"a.mp3", Text(dir.Path("lists/l.m3u")));
    EXPECT_EQ(entry, u"../../songs/a.mp3");
    EXPECT_TRUE(fs::exists(dir.Path("lists") / text::TextToFileName(entry)));
}

TEST(PlaylistEntryPath, NameNotValidUtf8IsKeptLosslessly) {
    const std::u16string name = text::FileNameToText("caf\xE9.mp3");
    ScratchDirectory dir;
    EXPECT_EQ(PlaylistEntryPath(Text(dir.Root()), name, Text(dir.Path("l.m3u8"))), name);
}

TEST(PlaylistEntryPath, PathWithLineBreakBecomesAFileUri) {
    ScratchDirectory dir;
    const std::u16string root = Text(dir.Root());
    const std::u16string entry = PlaylistEntryPath(root, u"a\nb c.mp3", root + u"/l.m3u");
    EXPECT_EQ(entry, u"file://" + root + u"/a%0Ab%20c.mp3");
}

TEST(FileUri, EncodesEveryByteOutsideTheUnreservedCharacters) {
    EXPECT_EQ(FileUri(u"/m/A-z_0.9~/%#?\r"), u"file:///m/A-z_0.9~/%25%23%3F%0D");
    EXPECT_EQ(FileUri(u"/\u00E9"), u"file:///%C3%A9");
    EXPECT_EQ(FileUri(text::FileNameToText("/\xE9")), u"file:///%E9");
}

}  // namespace
}  // namespace velmora
