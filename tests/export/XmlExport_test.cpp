#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "support/FakeSettingsKey.h"
#include "XmlReadBack.h"
#include "export/XmlExportDocument.h"
#include "export/XmlExporter.h"
#include "text/FileName.h"

namespace velmora {
namespace {

using testing::FakeSettingsKey;
using testing::MakeFile;
using testing::ParsedAttribute;
using testing::ParsedElement;
using testing::XmlReadBack;

constexpr char kHead[] = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n";
constexpr char kGenerator[] = "\t<Generator name=\"Velmora 1.1\" />\n";

std::string Document(const std::string& body) {
    return std::string(kHead) + "<MP3List>\n" + kGenerator + body + "</MP3List>";
}

// Every document a test builds must also be one that a real parser accepts.
std::string Built(const XmlExportOptions& options, const std::vector<ExportedFile>& files) {
    std::string document = BuildXmlExportDocument(options, files);
    XmlReadBack reader;
    reader.Write(document);
    EXPECT_TRUE(reader.WellFormed());
    return document;
}

ExportedFile WithBitrate(ExportedFile file, std::uint16_t bitrate) {
    file.bitrate = bitrate;
    return file;
}

// Location "File name", MP3 Info "Bitrate", ID3v2 "Artist" and "Title", skipping, Level 1
// "Artist", Level 2 "List".
XmlExportOptions WorkedOptions() {
    XmlExportOptions options;
    options.v2Album = false;
    options.structure.Select(1, XmlGrouping::List);
    return options;
}

std::vector<ExportedFile> WorkedFiles() {
    return {WithBitrate(MakeFile(u"a1.mp3", u"X", u"One"), 128),
            WithBitrate(MakeFile(u"b1.mp3", u"Y", u"Two"), 192),
            WithBitrate(MakeFile(u"a2.mp3", u"X"), 128)};
}

TEST(XmlExport, WorkedExample) {
    EXPECT_EQ(
        Built(WorkedOptions(), WorkedFiles()),
        Document("\t<Artist name=\"X\">\n"
                 "\t\t<File filename=\"a1.mp3\" bitrate=\"128\" artist=\"X\" title=\"One\" />\n"
                 "\t\t<File filename=\"a2.mp3\" bitrate=\"128\" artist=\"X\" />\n"
                 "\t</Artist>\n"
                 "\t<Artist name=\"Y\">\n"
                 "\t\t<File filename=\"b1.mp3\" bitrate=\"192\" artist=\"Y\" title=\"Two\" />\n"
                 "\t</Artist>\n"));
}

TEST(XmlExport, WorkedExampleWithoutSkippingWritesEmptyTitle) {
    XmlExportOptions options = WorkedOptions();
    options.skipIfEmpty = false;
    EXPECT_EQ(
        Built(options, WorkedFiles()),
        Document("\t<Artist name=\"X\">\n"
                 "\t\t<File filename=\"a1.mp3\" bitrate=\"128\" artist=\"X\" title=\"One\" />\n"
                 "\t\t<File filename=\"a2.mp3\" bitrate=\"128\" artist=\"X\" title=\"\" />\n"
                 "\t</Artist>\n"
                 "\t<Artist name=\"Y\">\n"
                 "\t\t<File filename=\"b1.mp3\" bitrate=\"192\" artist=\"Y\" title=\"Two\" />\n"
                 "\t</Artist>\n"));
}

TEST(XmlExport, FreshStoreListsTheFileWithTheDefaultFields) {
    const FakeSettingsKey fresh;
    const std::vector<ExportedFile> files = {WithBitrate(MakeFile(u"a.mp3", u"", u"One"), 128)};
    EXPECT_EQ(Built(LoadXmlExportOptions(fresh), files),
              Document("\t<File filename=\"a.mp3\" bitrate=\"128\" title=\"One\" />\n"));
}

TEST(XmlExport, NoFilesGiveOnlyTheGenerator) {
    EXPECT_EQ(Built(WorkedOptions(), {}), Document(""));
}

TEST(XmlExport, GroupsComeInTheOrderOfTheirFirstFileAndCompareExactly) {
    XmlExportOptions options = WorkedOptions();
    options.v2Title = false;
    const std::vector<ExportedFile> files = {MakeFile(u"1.mp3", u"Abba"), MakeFile(u"2.mp3"),
                                             MakeFile(u"3.mp3", u"ABBA"),
                                             MakeFile(u"4.mp3", u"Abba"), MakeFile(u"5.mp3")};
    EXPECT_EQ(Built(options, files),
              Document("\t<Artist name=\"Abba\">\n"
                       "\t\t<File filename=\"1.mp3\" bitrate=\"0\" artist=\"Abba\" />\n"
                       "\t\t<File filename=\"4.mp3\" bitrate=\"0\" artist=\"Abba\" />\n"
                       "\t</Artist>\n"
                       "\t<Artist name=\"\">\n"
                       "\t\t<File filename=\"2.mp3\" bitrate=\"0\" />\n"
                       "\t\t<File filename=\"5.mp3\" bitrate=\"0\" />\n"
                       "\t</Artist>\n"
                       "\t<Artist name=\"ABBA\">\n"
                       "\t\t<File filename=\"3.mp3\" bitrate=\"0\" artist=\"ABBA\" />\n"
                       "\t</Artist>\n"));
}

ExportedFile Tagged(const char16_t* name, const char16_t* artist, const char16_t* album,
                    const char16_t* year, const char16_t* directory) {
    ExportedFile file = MakeFile(name, artist);
    file.album = album;
    file.year = year;
    file.directory = directory;
    return file;
}

// A key at every level, the last included: the files are grouped four times and then
// listed, so none goes missing.
TEST(XmlExport, EveryLevelGroupsAndTheLastListsItsFiles) {
    XmlExportOptions options;
    options.SetLocation(XmlLocation::None);
    options.mp3Bitrate = false;
    options.v2Artist = options.v2Album = options.v2Title = false;
    options.structure = XmlStructure::FromStored({1, 2, 3, 4});
    const std::vector<ExportedFile> files = {Tagged(u"1.mp3", u"A", u"L", u"1999", u"/m/x"),
                                             Tagged(u"2.mp3", u"A", u"L", u"1999", u"/m/y"),
                                             Tagged(u"3.mp3", u"A", u"M", u"2001", u"/m/x"),
                                             Tagged(u"4.mp3", u"A", u"L", u"1999", u"/m/x")};
    EXPECT_EQ(Built(options, files), Document("\t<Artist name=\"A\">\n"
                                              "\t\t<Album name=\"L\">\n"
                                              "\t\t\t<Year value=\"1999\">\n"
                                              "\t\t\t\t<Directory path=\"/m/x\">\n"
                                              "\t\t\t\t\t<File />\n"
                                              "\t\t\t\t\t<File />\n"
                                              "\t\t\t\t</Directory>\n"
                                              "\t\t\t\t<Directory path=\"/m/y\">\n"
                                              "\t\t\t\t\t<File />\n"
                                              "\t\t\t\t</Directory>\n"
                                              "\t\t\t</Year>\n"
                                              "\t\t</Album>\n"
                                              "\t\t<Album name=\"M\">\n"
                                              "\t\t\t<Year value=\"2001\">\n"
                                              "\t\t\t\t<Directory path=\"/m/x\">\n"
                                              "\t\t\t\t\t<File />\n"
                                              "\t\t\t\t</Directory>\n"
                                              "\t\t\t</Year>\n"
                                              "\t\t</Album>\n"
                                              "\t</Artist>\n"));
}

TEST(XmlExport, EveryFieldInTheOrderOfTheTable) {
    XmlExportOptions options;
    options.SetLocation(XmlLocation::FullPath);
    options.mp3Duration = options.mp3Vbr = true;
    options.v2Year = options.v2Track = options.v2Genre = true;
    options.v1Artist = options.v1Album = options.v1Title = true;
    options.v1Year = options.v1Track = options.v1Genre = true;
    options.structure.Select(0, XmlGrouping::List);
    ExportedFile file = MakeFile(u"a.mp3", u"Ar", u"Ti", 215);
    file.bitrate = 320;
    file.vbr = true;
    file.album = u"Al";
    file.year = u"2004";
    file.track = u"3/12";
    file.genre = u"Blues";
    file.artist1 = u"ar";
    file.album1 = u"al";
    file.title1 = u"ti";
    file.year1 = u"04";
    file.track1 = 3;
    file.genre1 = 0;
    EXPECT_EQ(Built(options, {file}),
              Document("\t<File path=\"/music/a.mp3\" bitrate=\"320\" vbr=\"true\" "
                       "duration=\"215\" artist=\"Ar\" album=\"Al\" title=\"Ti\" year=\"2004\" "
                       "track=\"3/12\" genre=\"Blues\" artist1=\"ar\" album1=\"al\" "
                       "title1=\"ti\" year1=\"04\" track1=\"3\" genre1=\"Blues\" />\n"));
}

struct LocationCase {
    bool fileName;
    bool fullPath;
    const char* file;
};

class XmlLocationTest : public ::testing::TestWithParam<LocationCase> {};

// Both stored as true: the file name wins.
TEST_P(XmlLocationTest, GivesOneLocationAttribute) {
    XmlExportOptions options;
    options.fileName = GetParam().fileName;
    options.fullPath = GetParam().fullPath;
    options.mp3Bitrate = options.v2Artist = options.v2Album = options.v2Title = false;
    options.structure.Select(0, XmlGrouping::List);
    ExportedFile file = MakeFile(u"new.mp3");
    file.directory = u"/m/d";
    EXPECT_EQ(Built(options, {file}), Document(GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(
    Locations, XmlLocationTest,
    ::testing::Values(LocationCase{true, false, "\t<File filename=\"new.mp3\" />\n"},
                      LocationCase{true, true, "\t<File filename=\"new.mp3\" />\n"},
                      LocationCase{false, true, "\t<File path=\"/m/d/new.mp3\" />\n"},
                      LocationCase{false, false, "\t<File />\n"}));

struct Id3v1NumberCase {
    std::uint8_t track1;
    std::uint8_t genre1;
    bool skip;
    const char* file;
};

class XmlId3v1NumbersTest : public ::testing::TestWithParam<Id3v1NumberCase> {};

TEST_P(XmlId3v1NumbersTest, FollowTheSkipRule) {
    const Id3v1NumberCase& c = GetParam();
    XmlExportOptions options;
    options.SetLocation(XmlLocation::None);
    options.mp3Bitrate = options.v2Artist = options.v2Album = options.v2Title = false;
    options.v1Track = options.v1Genre = true;
    options.skipIfEmpty = c.skip;
    options.structure.Select(0, XmlGrouping::List);
    ExportedFile file = MakeFile(u"a.mp3");
    file.track1 = c.track1;
    file.genre1 = c.genre1;
    EXPECT_EQ(Built(options, {file}), Document(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, XmlId3v1NumbersTest,
    ::testing::Values(Id3v1NumberCase{7, 17, true, "\t<File track1=\"7\" genre1=\"Rock\" />\n"},
                      Id3v1NumberCase{0, 125, true, "\t<File genre1=\"Dance Hall\" />\n"},
                      Id3v1NumberCase{0, 17, false, "\t<File track1=\"0\" genre1=\"Rock\" />\n"},
                      Id3v1NumberCase{255, 126, true, "\t<File track1=\"255\" genre1=\"\" />\n"},
                      Id3v1NumberCase{1, 130, true, "\t<File track1=\"1\" genre1=\"\" />\n"},
                      Id3v1NumberCase{1, 255, true, "\t<File track1=\"1\" />\n"},
                      Id3v1NumberCase{1, 255, false, "\t<File track1=\"1\" genre1=\"\" />\n"}));

// Structure0 = 9: Level 1 keeps its preset "Artist", the later levels become "List".
TEST(XmlExporter, StoredStructureOfNineKeepsThePresetFirstLevel) {
    FakeSettingsKey key;
    key.values["Structure0"] = std::uint32_t{9};
    StoredXmlOptions prompt;
    XmlExporter exporter(key, prompt);
    std::string out;
    ASSERT_TRUE(exporter.BuildDocument(out, WorkedFiles(), u"/x.xml"));
    EXPECT_EQ(
        out,
        Document("\t<Artist name=\"X\">\n"
                 "\t\t<File filename=\"a1.mp3\" bitrate=\"128\" artist=\"X\" title=\"One\" />\n"
                 "\t\t<File filename=\"a2.mp3\" bitrate=\"128\" artist=\"X\" />\n"
                 "\t</Artist>\n"
                 "\t<Artist name=\"Y\">\n"
                 "\t\t<File filename=\"b1.mp3\" bitrate=\"192\" artist=\"Y\" title=\"Two\" />\n"
                 "\t</Artist>\n"));
    EXPECT_EQ(std::get<std::uint32_t>(key.values.at("Structure0")), 1u);
    EXPECT_EQ(std::get<std::uint32_t>(key.values.at("Structure1")), 0u);
}

class CancellingPrompt final : public XmlOptionsPrompt {
  public:
    bool Confirm(XmlExportOptions& options) override {
        options.v1Artist = true;  // a change the user then abandons
        return false;
    }
};

TEST(XmlExporter, CancelBuildsNothingAndStoresNothing) {
    FakeSettingsKey key;
    CancellingPrompt prompt;
    XmlExporter exporter(key, prompt);
    std::string out;
    EXPECT_FALSE(exporter.BuildDocument(out, WorkedFiles(), u"/x.xml"));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(key.writes, 0);
}

TEST(XmlExporter, SaveStoresTheConfirmedOptions) {
    FakeSettingsKey key;
    FixedXmlOptions prompt(WorkedOptions());
    XmlExporter exporter(key, prompt);
    std::string out;
    ASSERT_TRUE(exporter.BuildDocument(out, WorkedFiles(), u"/x.xml"));
    EXPECT_EQ(out, BuildXmlExportDocument(WorkedOptions(), WorkedFiles()));
    EXPECT_EQ(LoadXmlExportOptions(key), WorkedOptions());
}

TEST(XmlExporter, FileType) {
    FakeSettingsKey key;
    StoredXmlOptions prompt;
    const ExportFileType type = XmlExporter(key, prompt).GetFileType();
    EXPECT_EQ(type.defaultExtension, u"xml");
    EXPECT_EQ(type.filters, (std::vector<FileFilter>{{u"XML Files (*.xml)", u"*.xml"},
                                                     {u"All Files (*.*)", u"*.*"}}));
}

// Tag texts and names as they come from files: every attribute, group ones included, must
// read back as written, or as U+FFFD where XML cannot carry the character.
TEST(XmlExport, HostileTextsReadBackThroughTheWholeExport) {
    const std::u16string hostile = u"\"Q\" <a>&amp; 'x'\t\r\n\x01 \U0001F600 \xD800.";
    const std::u32string read = U"\"Q\" <a>&amp; 'x'\t\r\n\uFFFD \U0001F600 \uFFFD.";
    ExportedFile file = MakeFile(hostile, hostile, hostile);
    file.album = hostile;
    file.directory = text::FileNameToText("/m/caf\xE9");
    XmlExportOptions options;
    options.structure = XmlStructure::FromStored({1, 2, 4, 0});
    XmlReadBack reader;
    reader.Write(BuildXmlExportDocument(options, {file}));
    ASSERT_TRUE(reader.WellFormed());
    const std::vector<ParsedElement> expected = {
        {"MP3List", {}},
        {"Generator", {{"name", U"Velmora 1.1"}}},
        {"Artist", {{"name", read}}},
        {"Album", {{"name", read}}},
        {"Directory", {{"path", U"/m/caf\uFFFD"}}},
        {"File",
         {{"filename", read},
          {"bitrate", U"0"},
          {"artist", read},
          {"album", read},
          {"title", read}}},
    };
    EXPECT_EQ(reader.Elements(), expected);
}

}  // namespace
}  // namespace velmora
