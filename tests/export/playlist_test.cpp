#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "export/FileUri.h"
#include "export/M3uExporter.h"
#include "export/PlaylistEntryPath.h"
#include "export/PlaylistText.h"
#include "export/PlsExporter.h"
#include "support/ScratchDirectory.h"
#include "text/FileName.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

std::string Build(Exporter&& exporter, const std::vector<ExportedFile>& files,
                  const std::u16string& target) {
    std::string out;
    EXPECT_TRUE(exporter.BuildDocument(out, files, target));
    return out;
}

// The format decides the encoding, not the target's name. Texts of an M3U8 go through the
// UTF-8 encoder, those of the others through the locale's encoding (here CP1252); an entry is
// the path's own bytes, but a name that is not UTF-8 becomes a file URI in an M3U8, where raw
// bytes would not be text.
TEST(Playlist, WorkedDocuments) {
    const struct {
        const char* what;
        std::vector<ExportedFile> files;
        std::string m3u;
        std::string m3u8;  // empty: as the M3U
        std::string pls;
    } rows[] = {
        {"no files", {}, "#EXTM3U\n", "", "[playlist]\nNumberOfEntries=0\nVersion=2"},
        {"numbered in the order given; line breaks in texts become spaces; texts beyond the "
         "encoding; names beyond ASCII and not UTF-8",
         {MakeFile(u"\u4E2D\u00E9.mp3", u"\u00C5\nA", u"\u4E2D\r\n\U0001F600", 1000000),
          MakeFile(text::FileNameToText("caf\xE9 \xC3\xA9.mp3"), u"", u"", 2)},
         "#EXTM3U\n#EXTINF:1000000,\xC5 A - ?  ??\n\xE4\xB8\xAD\xC3\xA9.mp3\n#EXTINF:2, - \n"
         "caf\xE9 \xC3\xA9.mp3\n",
         "#EXTM3U\n#EXTINF:1000000,\xC3\x85 A - \xE4\xB8\xAD  \xF0\x9F\x98\x80\n"
         "\xE4\xB8\xAD\xC3\xA9.mp3\n#EXTINF:2, - \nfile:///music/caf%E9%20%C3%A9.mp3\n",
         "[playlist]\nFile1=\xE4\xB8\xAD\xC3\xA9.mp3\nTitle1=?  ??\nLength1=1000000\n"
         "File2=caf\xE9 \xC3\xA9.mp3\nTitle2=\nLength2=2\nNumberOfEntries=2\nVersion=2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        // Each named as another format: the name must not decide.
        EXPECT_EQ(Build(M3uExporter(Cp1252()), row.files, u"/music/l.m3u8"), row.m3u);
        EXPECT_EQ(Build(M3uExporter(Cp1252(), PlaylistEncoding::Utf8), row.files, u"/music/l.m3u"),
                  row.m3u8.empty() ? row.m3u : row.m3u8);
        EXPECT_EQ(Build(PlsExporter(Cp1252()), row.files, u"/music/l.m3u"), row.pls);
    }
}

// Folders are compared by whole names, as the kernel sees them: trailing separators, dots and
// links are resolved first. The kernel resolves ".." from a linked folder's physical parent.
TEST(PlaylistEntryPath, FoldersAreResolvedBeforeComparing) {
    ScratchDirectory dir;
    fs::create_directories(dir.Path("songs"));
    fs::create_directories(dir.Path("real/lists"));
    fs::create_directory_symlink(dir.Path("real/lists"), dir.Path("lists"));
    const std::u16string root = TextPath(dir.Root());
    const std::u16string playlist = root + u"/l.m3u";
    // The file's folder, the playlist, the entry.
    const std::array<std::u16string, 3> rows[] = {
        {u"/m/music", u"/m/musical/l.m3u", u"../music/a.mp3"},
        {u"/music", u"/l.m3u", u"music/a.mp3"},
        {root + u"/", playlist, u"a.mp3"},
        {root + u"/songs/..", playlist, u"a.mp3"},
        {root + u"/songs/.", playlist, u"songs/a.mp3"},
        {root + u"/songs", root + u"/lists/l.m3u", u"../../songs/a.mp3"},
    };
    for (const auto& [folder, list, entry] : rows) {
        EXPECT_EQ(PlaylistEntryPath(folder, u"a.mp3", list, false), entry);
    }
}

// A line break would split the entry in two: the entry becomes a file URI instead. A reader
// would take a leading "#" for a comment and drop a leading blank: "./" keeps them.
TEST(PlaylistEntryPath, EntriesThatWouldReadAsSomethingElseAreWrittenSo) {
    for (const char16_t* name : {u"#a.mp3", u" a.mp3", u"\ta.mp3"})
        EXPECT_EQ(PlaylistEntryPath(u"/m", name, u"/m/l.m3u", false), u"./" + std::u16string(name));
    EXPECT_EQ(PlaylistEntryPath(u"/m/#s", u"a.mp3", u"/m/l.m3u", false), u"./#s/a.mp3");
    EXPECT_EQ(PlaylistEntryPath(u"/m", u"a\nb c.mp3", u"/m/l.m3u", false),
              u"file:///m/a%0Ab%20c.mp3");
    EXPECT_EQ(FileUri(u"/m/A-z_0.9~/%#?\r\u00E9"), u"file:///m/A-z_0.9~/%25%23%3F%0D%C3%A9");
    EXPECT_EQ(FileUri(text::FileNameToText("/\xE9")), u"file:///%E9");
    EXPECT_EQ(PathOfFileUri(u"file:///m/A-z_0.9~/%25%23%3F%0D%C3%A9%e9%4"),
              u"/m/A-z_0.9~/%#?\r\u00E9\xDCE9%4");
}

}  // namespace
}  // namespace velmora::testing
