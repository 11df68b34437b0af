#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "ExportTestFiles.h"
#include "export/XmlExportDocument.h"
#include "export/XmlExportOptions.h"
#include "export/XmlExporter.h"
#include "export/XmlWriter.h"
#include "support/FakeSettingsKey.h"
#include "support/XmlReadBack.h"

namespace velmora::testing {
namespace {

using Stored = std::array<std::uint32_t, XmlStructure::kLevelCount>;

std::string Document(const std::string& body) {
    return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<MP3List>\n"
           "\t<Generator name=\"Velmora 1.1\" />\n" +
           body + "</MP3List>";
}

// Written documents must read back through libxml2 without a word.
std::string Built(const XmlExportOptions& options, const std::vector<ExportedFile>& files) {
    std::string document = BuildXmlExportDocument(options, files);
    const testing::XmlReadBack read = testing::ReadXml(document);
    EXPECT_TRUE(read.parsed && read.diagnostics.empty()) << read.diagnostics;
    return document;
}

// Group names are escaped as every other value (which XmlDocument checks through a reader);
// letter case makes two groups, in the order of their first file.
const std::vector<ExportedFile> kWorkedFiles = {MakeFile(u"a1.mp3", u"A&\"", u"One", 0, 128),
                                                MakeFile(u"b1.mp3", u"a&\"", u"Two", 0, 192),
                                                MakeFile(u"a2.mp3", u"A&\"", u"", 0, 128)};

const std::string kWorkedBody =
    "\t<Artist name=\"A&amp;&quot;\">\n"
    "\t\t<File filename=\"a1.mp3\" bitrate=\"128\" artist=\"A&amp;&quot;\" title=\"One\" />\n"
    "\t\t<File filename=\"a2.mp3\" bitrate=\"128\" artist=\"A&amp;&quot;\" title=\"\" />\n"
    "\t</Artist>\n"
    "\t<Artist name=\"a&amp;&quot;\">\n"
    "\t\t<File filename=\"b1.mp3\" bitrate=\"192\" artist=\"a&amp;&quot;\" title=\"Two\" />\n"
    "\t</Artist>\n";

// Only the chosen attributes: no location, nothing from MP3 Info or ID3v2.
XmlExportOptions Bare() {
    XmlExportOptions options;
    options.SetLocation(XmlLocation::None);
    options.mp3Bitrate = options.v2Artist = options.v2Album = options.v2Title = false;
    return options;
}

// A key at every level, the last included: the files are grouped four times and then
// listed, so none goes missing. (Attribute order and every field: LoadedRecords in
// export_test.cpp.)
TEST(XmlExport, EveryLevelGroupsAndTheLastListsItsFiles) {
    XmlExportOptions options = Bare();
    options.structure = XmlStructure::FromStored({1, 2, 3, 4});
    ExportedFile file = MakeFile(u"a.mp3", u"A");
    file.album = u"L";
    file.year = u"1999";
    std::vector<ExportedFile> files(3, file);
    files[0].directory = files[2].directory = u"/m/x";
    files[1].directory = u"/m/y";
    EXPECT_EQ(Built(options, {}), Document(""));
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
                                              "\t</Artist>\n"));
}

TEST(XmlExport, Id3v1TrackAndGenreFollowTheSkipRule) {
    // ID3v1 track and genre, whether empty values are skipped, the file element.
    const std::tuple<std::uint8_t, std::uint8_t, bool, const char*> rows[] = {
        {7, 17, true, "\t<File track1=\"7\" genre1=\"Rock\" />\n"},
        {0, 200, true, "\t<File genre1=\"\" />\n"},
        {0, 255, false, "\t<File track1=\"0\" genre1=\"\" />\n"},
        {1, 255, true, "\t<File track1=\"1\" />\n"},
    };
    for (const auto& [track1, genre1, skip, element] : rows) {
        XmlExportOptions options = Bare();
        options.v1Track = options.v1Genre = true;
        options.skipIfEmpty = skip;
        options.structure.Select(0, XmlGrouping::List);
        ExportedFile file = MakeFile(u"a.mp3");
        file.track1 = track1;
        file.genre1 = genre1;
        EXPECT_EQ(Built(options, {file}), Document(element));
    }
}

// The worked example, from stored options: location "File name", MP3 Info "Bitrate", ID3v2
// "Artist" and "Title". Structure0 = 9: Level 1 keeps its preset "Artist", the later levels
// become "List". Both locations stored: the file name wins. Not skipping empty values, a2.mp3
// gets an empty title.
TEST(XmlExporter, StoredStructureOfNineKeepsThePresetFirstLevel) {
    testing::FakeSettingsKey key;
    key.values["Structure0"] = std::uint32_t{9};
    key.values["FullPath"] = std::uint32_t{1};
    key.values["V2Album"] = key.values["SkipIfEmpty"] = std::uint32_t{0};
    StoredXmlOptions prompt;
    XmlExporter exporter(key, prompt);
    std::string out;
    ASSERT_TRUE(exporter.BuildDocument(out, kWorkedFiles, u"/x.xml"));
    EXPECT_EQ(out, Document(kWorkedBody));
    EXPECT_EQ(std::get<std::uint32_t>(key.values.at("Structure0")), 1u);
    EXPECT_EQ(std::get<std::uint32_t>(key.values.at("Structure1")), 0u);
}

// Every UTF-16 unit alone, then pairs and sequences that trip writers: a reader must get
// each value back exactly, or U+FFFD where XML cannot carry the character.
TEST(XmlDocument, EveryValueReadsBackOrBecomesReplacement) {
    std::u16string written;
    std::u32string read;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        written += static_cast<char16_t>(unit);
        written += u'.';  // keeps each surrogate alone
        read += testing::IsXmlChar(unit) ? unit : U'\uFFFD';
        read += U'.';
    }
    written +=
        u"\U00010000\U0001F600\U0010FFFF \xDE00\xD83D \xD83D\xD83D\xDE00 ]]> &amp; \r\n\xD83D";
    read += U"\U00010000\U0001F600\U0010FFFF \uFFFD\uFFFD \uFFFD\U0001F600 ]]> &amp; \r\n\uFFFD";
    XmlElement root(u"R");
    root.Add<XmlStringAttribute>(u"v", written);
    XmlElement& numbers = root.AddChild(u"N");
    numbers.Add<XmlUInt8Attribute>(u"u8", std::uint8_t{255});
    numbers.Add<XmlUInt32Attribute>(u"u32", std::uint32_t{4294967295u});
    std::u16string text;
    Serialize(root, 0, text);
    const testing::XmlReadBack parsed = testing::ReadXml(EncodeDocument(text));
    EXPECT_TRUE(parsed.diagnostics.empty()) << parsed.diagnostics;
    const std::vector<testing::ParsedElement> expected = {
        {0, "R", {{"v", read}}}, {1, "N", {{"u8", U"255"}, {"u32", U"4294967295"}}}};
    EXPECT_EQ(parsed.elements, expected);
}

// Each level's key, a disabled one marked "-": "Artist Album List -List" is the preset.
std::string LevelsOf(const XmlStructure& s) {
    const char* const names[] = {"List", "Artist", "Album", "Year", "Directory"};
    std::string out;
    for (std::size_t level = 0; level < XmlStructure::kLevelCount; ++level)
        out += (s.Enabled(level) ? " " : " -") + std::string(names[int(s.Key(level))]);
    return out.substr(1);
}

TEST(XmlStructure, StoredNumbersApplyOverThePreset) {
    const std::pair<Stored, const char*> rows[] = {
        {{0, 0, 0, 0}, "List -List -List -List"},  // a fresh store: one list level
        {{1, 2, 0, 0}, "Artist Album List -List"},
        {{1, 2, 3, 4}, "Artist Album Year Directory"},
        {{1, 0, 3, 4}, "Artist List -List -List"},  // levels after the first list are reset
        // A number of 5 or more stops either walk, keeping the preset from there.
        {{9, 0, 0, 0}, "Artist -List -List -List"},
        {{9, 0, 5, 0}, "Artist -List List -List"},
        {{4, 0xFFFFFFFFu, 1, 1}, "Directory Album -List -List"},
    };
    for (const auto& [stored, levels] : rows)
        EXPECT_EQ(LevelsOf(XmlStructure::FromStored(stored)), levels);
}

TEST(XmlStructure, SelectingListDisablesLaterLevelsAndAKeyEnablesTheNext) {
    XmlStructure s = XmlStructure::FromStored({1, 2, 3, 4});
    s.Select(1, XmlGrouping::List);
    EXPECT_EQ(LevelsOf(s), "Artist List -List -List");
    EXPECT_EQ(s.ToStored(), (Stored{1, 0, 0, 0}));
    s.Select(1, XmlGrouping::Year);
    EXPECT_EQ(LevelsOf(s), "Artist Year List -List");
    XmlStructure preset;  // Level 4 disabled with "List": a key at Level 3 enables it as it is
    preset.Select(2, XmlGrouping::Year);
    EXPECT_EQ(LevelsOf(preset), "Artist Album Year List");
}

TEST(XmlExportOptions, SaveWritesEveryValueAndLoadsBackEqual) {
    XmlExportOptions options;
    options.SetLocation(XmlLocation::FullPath);
    options.mp3Bitrate = options.v2Title = options.skipIfEmpty = false;
    options.mp3Duration = options.mp3Vbr = options.v2Genre = options.v1Track = true;
    options.structure.Select(1, XmlGrouping::Year);
    options.structure.Select(2, XmlGrouping::Directory);
    FakeSettingsKey key;
    SaveXmlExportOptions(options, key);
    // Every value, each under the name the stored-options case reads.
    EXPECT_EQ(key.values.size(), 22u);
    EXPECT_EQ(LoadXmlExportOptions(key), options);
}

}  // namespace
}  // namespace velmora::testing
