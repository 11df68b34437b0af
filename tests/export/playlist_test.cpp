#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ExportTestFiles.h"
#include "export/Export.h"
#include "export/M3uExporter.h"
#include "export/PlaylistEntryPath.h"
#include "export/PlaylistText.h"
#include "export/PlsExporter.h"
#include "support/RecordingMessageSink.h"
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

// Folders are compared by whole names, as the kernel sees them: trailing separators and dots
// are resolved first. (A linked folder: PlaylistResolves, whose lists/ is a link.)
TEST(PlaylistEntryPath, FoldersAreResolvedBeforeComparing) {
    ScratchDirectory dir;
    fs::create_directories(dir.Path("songs"));
    const std::u16string root = TextPath(dir.Root());
    const std::u16string playlist = root + u"/l.m3u";
    // The file's folder, the playlist, the entry.
    const std::array<std::u16string, 3> rows[] = {
        {u"/m/music", u"/m/musical/l.m3u", u"../music/a.mp3"},
        {u"/music", u"/l.m3u", u"music/a.mp3"},
        {root + u"/", playlist, u"a.mp3"},
        {root + u"/songs/..", playlist, u"a.mp3"},
        {root + u"/songs/.", playlist, u"songs/a.mp3"},
    };
    for (const auto& [folder, list, entry] : rows) {
        EXPECT_EQ(PlaylistEntryPath(folder, u"a.mp3", list, false), entry);
    }
}

// A line break would split the entry in two; the entry becomes a file URI instead.
TEST(PlaylistEntryPath, PathWithLineBreakBecomesAFileUri) {
    EXPECT_EQ(PlaylistEntryPath(u"/m", u"a\nb c.mp3", u"/m/l.m3u", false),
              u"file:///m/a%0Ab%20c.mp3");
    EXPECT_EQ(FileUri(u"/m/A-z_0.9~/%#?\r\u00E9"), u"file:///m/A-z_0.9~/%25%23%3F%0D%C3%A9");
    EXPECT_EQ(FileUri(text::FileNameToText("/\xE9")), u"file:///%E9");
}

// The files a player opens: the playlist's folder joined with each entry's bytes ("FileN="
// lines of a PLS, the lines that are no comment in an M3U), or the path of a file URI.
std::vector<fs::path> Opened(const fs::path& playlist, bool pls) {
    std::vector<fs::path> opened;
    std::istringstream in(ScratchDirectory::ReadFile(playlist));
    for (std::string line; std::getline(in, line);) {
        if (pls ? !line.starts_with("File") : line.starts_with("#")) {
            continue;
        }
        const std::string entry = pls ? line.substr(line.find('=') + 1) : line;
        if (!entry.starts_with("file://")) {
            opened.push_back(fs::weakly_canonical(playlist.parent_path() / entry));
            continue;
        }
        std::string path;
        for (std::size_t i = 7; i < entry.size(); ++i) {
            const bool escaped = entry[i] == '%';
            path += escaped ? static_cast<char>(std::stoi(entry.substr(i + 1, 2), nullptr, 16))
                            : entry[i];
            i += escaped ? 2 : 0;
        }
        opened.push_back(fs::weakly_canonical(path));
    }
    return opened;
}

// Playlist folder (relative to the music tree's root) and extension.
class PlaylistResolves : public ::testing::TestWithParam<std::tuple<std::string, std::string>> {};

// Files of a recursive load, a tree with names beyond ASCII (beyond the code page, and not
// valid UTF-8). A player opens the playlist's folder joined with each entry's bytes, or the
// path of a file URI.
TEST_P(PlaylistResolves, EveryEntryLeadsToItsFile) {
    const auto& [place, extension] = GetParam();
    const bool pls = extension == "pls";
    const bool utf8 = extension == "m3u8";
    testing::ScratchDirectory dir;
    // The kernel resolves ".." from a linked folder's physical parent.
    fs::create_directories(dir.Path("real/lists/deep"));
    fs::create_directory_symlink(dir.Path("real/lists"), dir.Path("lists"));
    std::vector<ExportedFile> files;
    std::vector<fs::path> paths;
    for (const char* path : {"music/a.mp3", "music/rock/70s/c d.mp3",
                             "music/j/\xE4\xB8\xAD\xC3\xA9.mp3", "music/raw/caf\xE9.mp3"}) {
        fs::create_directories(dir.Path(path).parent_path());
        paths.push_back(fs::canonical(dir.WriteFile(path, "mp3")));
        files.push_back(MakeFile(text::FileNameToText(paths.back().filename().string())));
        files.back().directory = TextPath(paths.back().parent_path());
    }
    const fs::path playlist = dir.Path(place) / ("all." + extension);
    M3uExporter m3u(Cp1252(), utf8 ? PlaylistEncoding::Utf8 : PlaylistEncoding::CodePage);
    PlsExporter plsExporter(Cp1252());
    Exporter& exporter = pls ? static_cast<Exporter&>(plsExporter) : m3u;
    FixedExportTarget chooser(TextPath(playlist));
    testing::RecordingMessageSink messages;
    ASSERT_EQ(Export(exporter, files, chooser, messages), ExportOutcome::Written);
    EXPECT_EQ(Opened(playlist, pls), paths);
}

// Each place once, each format at least once: only the place changes the entry path.
INSTANTIATE_TEST_SUITE_P(Places, PlaylistResolves,
                         ::testing::Values(std::make_tuple("", "m3u"),
                                           std::make_tuple("music", "m3u8"),
                                           std::make_tuple("music/rock/70s", "pls"),
                                           std::make_tuple("lists/deep", "m3u8")));

}  // namespace
}  // namespace velmora::testing
