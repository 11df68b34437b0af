#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "export/M3uExporter.h"
#include "export/PlaylistText.h"
#include "export/PlsExporter.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora {
namespace {

using testing::Cp1252;
using testing::MakeFile;

std::string Build(Exporter&& exporter, const std::vector<ExportedFile>& files,
                  const std::u16string& target) {
    std::string out;
    EXPECT_TRUE(exporter.BuildDocument(out, files, target));
    return out;
}

TEST(Playlist, WorkedDocuments) {
    const struct {
        const char* what;
        std::vector<ExportedFile> files;
        std::string m3u;
        std::string pls;
    } rows[] = {
        {"one file",
         {MakeFile(u"a.mp3", u"X", u"Y", 215)},
         "#EXTM3U\n#EXTINF:215,X - Y\na.mp3\n",
         "[playlist]\nFile1=a.mp3\nTitle1=Y\nLength1=215\nNumberOfEntries=1\nVersion=2"},
        {"no files", {}, "#EXTM3U\n", "[playlist]\nNumberOfEntries=0\nVersion=2"},
        {"numbered in the order given, line breaks in texts become spaces",
         {MakeFile(u"b.mp3", u"Art\nist", u"Ti\r\ntle", 3),
          MakeFile(u"a.mp3", u"A", u"One", 1000000)},
         "#EXTM3U\n#EXTINF:3,Art ist - Ti  tle\nb.mp3\n#EXTINF:1000000,A - One\na.mp3\n",
         "[playlist]\nFile1=b.mp3\nTitle1=Ti  tle\nLength1=3\n"
         "File2=a.mp3\nTitle2=One\nLength2=1000000\nNumberOfEntries=2\nVersion=2"},
        {"characters beyond the code page become question marks",
         {MakeFile(u"\u4E2D\u00E9.mp3", u"\u00C5", u"\u4E2D", 1)},
         "#EXTM3U\n#EXTINF:1,\xC5 - ?\n?\xE9.mp3\n",
         "[playlist]\nFile1=?\xE9.mp3\nTitle1=?\nLength1=1\nNumberOfEntries=1\nVersion=2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Build(M3uExporter(Cp1252()), row.files, u"/music/l.m3u"), row.m3u);
        EXPECT_EQ(Build(PlsExporter(Cp1252()), row.files, u"/music/l.pls"), row.pls);
    }
}

// Titles go through the UTF-8 encoder; entries keep the file system's bytes, even those
// that are not valid UTF-8.
TEST(Playlist, M3u8IsUtf8AndEntriesKeepTheFileSystemBytes) {
    const std::vector<ExportedFile> files = {
        MakeFile(u"\u4E2D.mp3", u"\u00C5", u"\U0001F600", 1),
        MakeFile(text::FileNameToText("caf\xE9.mp3"), u"", u"", 2)};
    EXPECT_EQ(Build(M3uExporter(Cp1252()), files, u"/music/l.M3U8"),
              "#EXTM3U\n#EXTINF:1,\xC3\x85 - \xF0\x9F\x98\x80\n\xE4\xB8\xAD.mp3\n"
              "#EXTINF:2, - \ncaf\xE9.mp3\n");
}

TEST(Playlist, M3u8IsToldByTheLastNameOnly) {
    const std::vector<std::pair<std::u16string, bool>> rows = {{u"/a/.m3u8", true},
                                                               {u"/a/listm3u8", false},
                                                               {u"/a.m3u8/list", false},
                                                               {u"/a/l.m3u8.pls", false}};
    for (const auto& [path, m3u8] : rows) {
        EXPECT_EQ(HasExtension(path, u"m3u8"), m3u8) << text::ToUtf8(path);
    }
}

}  // namespace
}  // namespace velmora
