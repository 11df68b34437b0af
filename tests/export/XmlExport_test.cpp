#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "XmlReadBack.h"
#include "export/XmlExportDocument.h"
#include "export/XmlExporter.h"
#include "support/FakeSettingsKey.h"

namespace velmora {
namespace {

using testing::MakeFile;
using testing::ParsedElement;

std::string Document(const std::string& body) {
    return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<MP3List>\n"
           "\t<Generator name=\"Velmora 1.1\" />\n" +
           body + "</MP3List>";
}

// Every document a test builds must also be one that a real parser accepts.
std::string Built(const XmlExportOptions& options, const std::vector<ExportedFile>& files) {
    std::string document = BuildXmlExportDocument(options, files);
    EXPECT_TRUE(testing::WellFormed(document));
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

const std::vector<ExportedFile> kWorkedFiles = {WithBitrate(MakeFile(u"a1.mp3", u"X", u"One"), 128),
                                                WithBitrate(MakeFile(u"b1.mp3", u"Y", u"Two"), 192),
                                                WithBitrate(MakeFile(u"a2.mp3", u"X"), 128)};

const std::string kWorkedBody =
    "\t<Artist name=\"X\">\n"
    "\t\t<File filename=\"a1.mp3\" bitrate=\"128\" artist=\"X\" title=\"One\" />\n"
    "\t\t<File filename=\"a2.mp3\" bitrate=\"128\" artist=\"X\" />\n"
    "\t</Artist>\n"
    "\t<Artist name=\"Y\">\n"
    "\t\t<File filename=\"b1.mp3\" bitrate=\"192\" artist=\"Y\" title=\"Two\" />\n"
    "\t</Artist>\n";

TEST(XmlExport, WorkedExampleWithAndWithoutSkipping) {
    EXPECT_EQ(Built(WorkedOptions(), kWorkedFiles), Document(kWorkedBody));
    XmlExportOptions options = WorkedOptions();
    options.skipIfEmpty = false;
    std::string body = kWorkedBody;  // a2.mp3 gets an empty title
    body.insert(body.find("\" />\n", body.find("a2.mp3")) + 1, " title=\"\"");
    EXPECT_EQ(Built(options, kWorkedFiles), Document(body));
    EXPECT_EQ(Built(WorkedOptions(), {}), Document(""));
}

// The second file carries every field, so a wrong default shows as an extra attribute.
TEST(XmlExport, FreshStoreWritesTheDefaultFields) {
    ExportedFile full = MakeFile(u"b.mp3", u"Ar", u"Ti", 215);
    full.album = full.year = full.track = full.genre = u"x";
    full.artist1 = full.album1 = full.title1 = full.year1 = u"y";
    full.track1 = full.genre1 = 1;
    const testing::FakeSettingsKey fresh;
    EXPECT_EQ(Built(LoadXmlExportOptions(fresh),
                    {WithBitrate(MakeFile(u"a.mp3", u"", u"One"), 128), full}),
              Document("\t<File filename=\"a.mp3\" bitrate=\"128\" title=\"One\" />\n"
                       "\t<File filename=\"b.mp3\" bitrate=\"0\" artist=\"Ar\" album=\"x\" "
                       "title=\"Ti\" />\n"));
}

// A missing artist is a group of its own, in its place; letter case makes two groups.
TEST(XmlExport, GroupsCompareExactly) {
    XmlExportOptions options = WorkedOptions();
    options.v2Title = false;
    EXPECT_EQ(Built(options,
                    {MakeFile(u"1.mp3", u"Abba"), MakeFile(u"2.mp3"), MakeFile(u"3.mp3", u"ABBA")}),
              Document("\t<Artist name=\"Abba\">\n"
                       "\t\t<File filename=\"1.mp3\" bitrate=\"0\" artist=\"Abba\" />\n"
                       "\t</Artist>\n"
                       "\t<Artist name=\"\">\n"
                       "\t\t<File filename=\"2.mp3\" bitrate=\"0\" />\n"
                       "\t</Artist>\n"
                       "\t<Artist name=\"ABBA\">\n"
                       "\t\t<File filename=\"3.mp3\" bitrate=\"0\" artist=\"ABBA\" />\n"
                       "\t</Artist>\n"));
}

// Only the chosen attributes: no location, nothing from MP3 Info or ID3v2.
XmlExportOptions Bare() {
    XmlExportOptions options;
    options.SetLocation(XmlLocation::None);
    options.mp3Bitrate = options.v2Artist = options.v2Album = options.v2Title = false;
    return options;
}

// A key at every level, the last included: the files are grouped four times and then
// listed, so none goes missing. (Attribute order and every field: ExportRecords_test.)
TEST(XmlExport, EveryLevelGroupsAndTheLastListsItsFiles) {
    XmlExportOptions options = Bare();
    options.structure = XmlStructure::FromStored({1, 2, 3, 4});
    const auto file = [](const char16_t* folder) {
        ExportedFile f = MakeFile(u"a.mp3", u"A");
        f.album = u"L";
        f.year = u"1999";
        f.directory = folder;
        return f;
    };
    EXPECT_EQ(Built(options, {file(u"/m/x"), file(u"/m/y"), file(u"/m/x")}),
              Document("\t<Artist name=\"A\">\n"
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
                       "\t</Artist>\n"));
}

TEST(XmlExport, Id3v1TrackAndGenreFollowTheSkipRule) {
    const struct {
        std::uint8_t track1, genre1;
        bool skip;
        const char* file;
    } rows[] = {
        {7, 17, true, "\t<File track1=\"7\" genre1=\"Rock\" />\n"},
        {0, 126, true, "\t<File genre1=\"\" />\n"},
        {0, 255, false, "\t<File track1=\"0\" genre1=\"\" />\n"},
        {1, 255, true, "\t<File track1=\"1\" />\n"},
    };
    for (const auto& row : rows) {
        XmlExportOptions options = Bare();
        options.v1Track = options.v1Genre = true;
        options.skipIfEmpty = row.skip;
        options.structure.Select(0, XmlGrouping::List);
        ExportedFile file = MakeFile(u"a.mp3");
        file.track1 = row.track1;
        file.genre1 = row.genre1;
        EXPECT_EQ(Built(options, {file}), Document(row.file));
    }
}

// Structure0 = 9: Level 1 keeps its preset "Artist", the later levels become "List". Both
// locations stored: the file name wins.
TEST(XmlExporter, StoredStructureOfNineKeepsThePresetFirstLevel) {
    testing::FakeSettingsKey key;
    key.values["Structure0"] = std::uint32_t{9};
    key.values["FullPath"] = std::uint32_t{1};
    StoredXmlOptions prompt;
    XmlExporter exporter(key, prompt);
    std::string out;
    ASSERT_TRUE(exporter.BuildDocument(out, kWorkedFiles, u"/x.xml"));
    EXPECT_EQ(out, Document(kWorkedBody));
    EXPECT_EQ(std::get<std::uint32_t>(key.values.at("Structure0")), 1u);
    EXPECT_EQ(std::get<std::uint32_t>(key.values.at("Structure1")), 0u);
}

// Tag texts and names as they come from files: every attribute, group ones included, must
// read back as written, or as U+FFFD where XML cannot carry the character.
TEST(XmlExport, HostileTextsReadBackThroughTheWholeExport) {
    const std::u16string hostile = u"\"Q\" <a>&amp; 'x'\t\r\n\x01 \U0001F600 \xD800.";
    const std::u32string read = U"\"Q\" <a>&amp; 'x'\t\r\n\uFFFD \U0001F600 \uFFFD.";
    ExportedFile file = MakeFile(hostile, hostile, hostile);
    file.album = hostile;
    file.directory = text::FileNameToText("/m/caf\xE9");  // not valid UTF-8
    XmlExportOptions options;
    options.structure = XmlStructure::FromStored({1, 2, 4, 0});
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
    EXPECT_EQ(testing::ReadBack(BuildXmlExportDocument(options, {file})), expected);
}

}  // namespace
}  // namespace velmora
