#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "text/FileName.h"

namespace velmora {
namespace {

using testing::Cp1252;
using testing::MakeFile;

std::string M3u(const std::vector<ExportedFile>& files,
                const std::u16string& target = u"/music/l.m3u") {
    M3uExporter exporter(Cp1252());
    std::string out;
    EXPECT_TRUE(exporter.BuildDocument(out, files, target));
    return out;
}

std::string Pls(const std::vector<ExportedFile>& files,
                const std::u16string& target = u"/music/l.pls") {
    PlsExporter exporter(Cp1252());
    std::string out;
    EXPECT_TRUE(exporter.BuildDocument(out, files, target));
    return out;
}

TEST(Playlist, OneFileGivesTheWorkedDocuments) {
    const std::vector<ExportedFile> files = {MakeFile(u"a.mp3", u"X", u"Y", 215)};
    EXPECT_EQ(M3u(files), "#EXTM3U\n#EXTINF:215,X - Y\na.mp3\n");
    EXPECT_EQ(Pls(files),
              "[playlist]\nFile1=a.mp3\nTitle1=Y\nLength1=215\nNumberOfEntries=1\nVersion=2");
}

TEST(Playlist, NoFilesGiveTheEmptyDocuments) {
    EXPECT_EQ(M3u({}), "#EXTM3U\n");
    EXPECT_EQ(Pls({}), "[playlist]\nNumberOfEntries=0\nVersion=2");
}

TEST(Playlist, EntriesAreNumberedInTheOrderGiven) {
    const std::vector<ExportedFile> files = {MakeFile(u"b.mp3", u"B", u"Two", 3),
                                             MakeFile(u"a.mp3", u"A", u"One", 1000000)};
    EXPECT_EQ(M3u(files), "#EXTM3U\n#EXTINF:3,B - Two\nb.mp3\n#EXTINF:1000000,A - One\na.mp3\n");
    EXPECT_EQ(Pls(files),
              "[playlist]\nFile1=b.mp3\nTitle1=Two\nLength1=3\n"
              "File2=a.mp3\nTitle2=One\nLength2=1000000\nNumberOfEntries=2\nVersion=2");
}

TEST(Playlist, MissingTagTextsAndUnmeasuredDuration) {
    const std::vector<ExportedFile> files = {MakeFile(u"a.mp3")};
    EXPECT_EQ(M3u(files), "#EXTM3U\n#EXTINF:0, - \na.mp3\n");
    EXPECT_EQ(Pls(files),
              "[playlist]\nFile1=a.mp3\nTitle1=\nLength1=0\nNumberOfEntries=1\nVersion=2");
}

TEST(Playlist, LineBreaksInTagTextsBecomeSpaces) {
    const std::vector<ExportedFile> files = {MakeFile(u"a.mp3", u"Art\nist", u"Ti\r\ntle", 1)};
    EXPECT_EQ(M3u(files), "#EXTM3U\n#EXTINF:1,Art ist - Ti  tle\na.mp3\n");
    EXPECT_EQ(Pls(files),
              "[playlist]\nFile1=a.mp3\nTitle1=Ti  tle\nLength1=1\nNumberOfEntries=1\nVersion=2");
}

TEST(Playlist, EntriesAreRelativeToThePlaylistFolder) {
    ExportedFile nested = MakeFile(u"b.mp3");
    nested.directory = u"/music/rock";
    ExportedFile elsewhere = MakeFile(u"c.mp3");
    elsewhere.directory = u"/other";
    const std::vector<ExportedFile> files = {MakeFile(u"a.mp3"), nested, elsewhere};
    EXPECT_EQ(M3u(files),
              "#EXTM3U\n#EXTINF:0, - \na.mp3\n#EXTINF:0, - \nrock/b.mp3\n"
              "#EXTINF:0, - \n../other/c.mp3\n");
    EXPECT_EQ(Pls(files, u"/music/rock/l.pls"),
              "[playlist]\nFile1=../a.mp3\nTitle1=\nLength1=0\nFile2=b.mp3\nTitle2=\nLength2=0\n"
              "File3=../../other/c.mp3\nTitle3=\nLength3=0\nNumberOfEntries=3\nVersion=2");
}

TEST(Playlist, CodePagePlaylistsWriteQuestionMarksForForeignCharacters) {
    const std::vector<ExportedFile> files = {
        MakeFile(u"\u4E2D\u00E9.mp3", u"\u00C5", u"\u4E2D", 1)};
    EXPECT_EQ(M3u(files), "#EXTM3U\n#EXTINF:1,\xC5 - ?\n?\xE9.mp3\n");
    EXPECT_EQ(Pls(files),
              "[playlist]\nFile1=?\xE9.mp3\nTitle1=?\nLength1=1\nNumberOfEntries=1\nVersion=2");
}

TEST(Playlist, M3u8IsUtf8AndEntriesKeepTheFileSystemBytes) {
    const std::u16string rawName = text::FileNameToText("caf\xE9.mp3");
    const std::vector<ExportedFile> files = {MakeFile(u"\u4E2D.mp3", u"\u00C5", u"\U0001F600", 1),
                                             MakeFile(rawName, u"", u"", 2)};
    EXPECT_EQ(M3u(files, u"/music/l.m3u8"),
              "#EXTM3U\n#EXTINF:1,\xC3\x85 - \xF0\x9F\x98\x80\n\xE4\xB8\xAD.mp3\n"
              "#EXTINF:2, - \ncaf\xE9.mp3\n");
}

TEST(Playlist, FileTypesOfferTheirFilters) {
    const ExportFileType m3u = M3uExporter(Cp1252()).GetFileType();
    EXPECT_EQ(m3u.defaultExtension, u"m3u");
    EXPECT_EQ(m3u.filters,
              (std::vector<FileFilter>{
                  {u"M3U Files", u"*.m3u"}, {u"M3U8 Files", u"*.m3u8"}, {u"All Files", u"*.*"}}));
    const ExportFileType pls = PlsExporter(Cp1252()).GetFileType();
    EXPECT_EQ(pls.defaultExtension, u"pls");
    EXPECT_EQ(pls.filters,
              (std::vector<FileFilter>{{u"PLS Files", u"*.pls"}, {u"All Files", u"*.*"}}));
}

}  // namespace
}  // namespace velmora
