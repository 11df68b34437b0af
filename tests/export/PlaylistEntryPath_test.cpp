#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ExportTestFiles.h"
#include "export/PlaylistEntryPath.h"
#include "support/ScratchDirectory.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDirectory;
using testing::Text;

// Folders are compared by whole names, as the kernel sees them: trailing separators, dots,
// and linked folders are resolved first. A player joins the playlist's folder
// and the entry and lets the kernel resolve "..", which follows the physical parent of a linked
// folder.
TEST(PlaylistEntryPath, FoldersAreResolvedBeforeComparing) {
    ScratchDirectory dir;
    fs::create_directories(dir.Path("real/lists"));
    fs::create_directories(dir.Path("songs"));
    dir.WriteFile("songs/a.mp3", "x");
    fs::create_directory_symlink(dir.Path("real/lists"), dir.Path("lists"));
    const std::u16string songs = Text(dir.Path("songs"));
    const std::u16string playlist = Text(dir.Path("l.m3u"));
    EXPECT_EQ(PlaylistEntryPath(u"/m/music", u"a.mp3", u"/m/musical/l.m3u"), u"../music/a.mp3");
    EXPECT_EQ(PlaylistEntryPath(u"/music", u"a.mp3", u"/l.m3u"), u"music/a.mp3");
    EXPECT_EQ(PlaylistEntryPath(Text(dir.Root()) + u"/", u"a.mp3", playlist), u"a.mp3");
    EXPECT_EQ(PlaylistEntryPath(songs + u"/..", u"a.mp3", playlist), u"a.mp3");
    EXPECT_EQ(PlaylistEntryPath(songs + u"/.", u"a.mp3", playlist), u"songs/a.mp3");
    const std::u16string linked = PlaylistEntryPath(songs, u"a.mp3", Text(dir.Path("lists/l.m3u")));
    EXPECT_EQ(linked, u"../../songs/a.mp3");
    EXPECT_TRUE(fs::exists(dir.Path("lists") / text::TextToFileName(linked)));
}

// A line break would split the entry in two; the entry becomes a file URI instead.
TEST(PlaylistEntryPath, PathWithLineBreakBecomesAFileUri) {
    EXPECT_EQ(PlaylistEntryPath(u"/m", u"a\nb c.mp3", u"/m/l.m3u"), u"file:///m/a%0Ab%20c.mp3");
    EXPECT_EQ(FileUri(u"/m/A-z_0.9~/%#?\r\u00E9"), u"file:///m/A-z_0.9~/%25%23%3F%0D%C3%A9");
    EXPECT_EQ(FileUri(text::FileNameToText("/\xE9")), u"file:///%E9");
}

}  // namespace
}  // namespace velmora
