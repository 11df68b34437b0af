#include "export/XmlExportOptions.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

#include "support/FakeSettingsKey.h"

namespace velmora {
namespace {

using testing::FakeSettingsKey;
using Level = XmlStructure::Level;
using Stored = std::array<std::uint32_t, XmlStructure::kLevelCount>;

constexpr XmlGrouping kList = XmlGrouping::List;
constexpr XmlGrouping kArtist = XmlGrouping::Artist;
constexpr XmlGrouping kAlbum = XmlGrouping::Album;
constexpr XmlGrouping kYear = XmlGrouping::Year;
constexpr XmlGrouping kDirectory = XmlGrouping::Directory;

std::array<Level, 4> Levels(const XmlStructure& s) {
    return {s.At(0), s.At(1), s.At(2), s.At(3)};
}

XmlExportOptions Load(FakeSettingsKey& key, const Stored& stored) {
    const char* names[] = {"Structure0", "Structure1", "Structure2", "Structure3"};
    for (std::size_t i = 0; i < stored.size(); ++i) {
        key.values[names[i]] = stored[i];
    }
    return LoadXmlExportOptions(key);
}

TEST(XmlExportOptions, FreshStoreGivesDefaultsAndOneListLevel) {
    FakeSettingsKey key;
    const XmlExportOptions options = LoadXmlExportOptions(key);
    EXPECT_EQ(key.writes, 0);
    EXPECT_EQ(options.Location(), XmlLocation::FileName);
    EXPECT_TRUE(options.v2Title && options.v2Album && options.v2Artist);
    EXPECT_TRUE(options.mp3Bitrate && options.skipIfEmpty);
    EXPECT_FALSE(options.v2Genre || options.v2Year || options.v2Track || options.fullPath);
    EXPECT_FALSE(options.v1Title || options.v1Album || options.v1Artist || options.v1Genre ||
                 options.v1Year || options.v1Track);
    EXPECT_FALSE(options.mp3Duration || options.mp3Vbr);
    const std::array<Level, 4> expected = {
        {{kList, true}, {kList, false}, {kList, false}, {kList, false}}};
    EXPECT_EQ(Levels(options.structure), expected);
}

struct StructureCase {
    const char* what;
    Stored stored;
    std::array<Level, 4> levels;
};

void PrintTo(const StructureCase& c, std::ostream* os) {
    *os << c.what;
}

class StoredStructure : public ::testing::TestWithParam<StructureCase> {};

TEST_P(StoredStructure, AppliesOverThePreset) {
    const StructureCase& c = GetParam();
    FakeSettingsKey key;
    EXPECT_EQ(Levels(Load(key, c.stored).structure), c.levels) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Stored, StoredStructure,
    ::testing::Values(
        StructureCase{"two groups then a list",
                      {1, 2, 0, 0},
                      {{{kArtist, true}, {kAlbum, true}, {kList, true}, {kList, false}}}},
        StructureCase{"every level grouping",
                      {1, 2, 3, 4},
                      {{{kArtist, true}, {kAlbum, true}, {kYear, true}, {kDirectory, true}}}},
        StructureCase{"levels after the first list are reset",
                      {1, 0, 3, 4},
                      {{{kArtist, true}, {kList, true}, {kList, false}, {kList, false}}}},
        StructureCase{"out of range first number keeps the preset",
                      {9, 0, 0, 0},
                      {{{kArtist, true}, {kList, false}, {kList, false}, {kList, false}}}},
        StructureCase{"out of range later number stops the reset",
                      {9, 0, 7, 0},
                      {{{kArtist, true}, {kList, false}, {kList, true}, {kList, false}}}},
        StructureCase{"out of range second number",
                      {4, 0xFFFFFFFFu, 1, 1},
                      {{{kDirectory, true}, {kAlbum, true}, {kList, false}, {kList, false}}}},
        StructureCase{"out of range last number",
                      {1, 2, 3, 5},
                      {{{kArtist, true}, {kAlbum, true}, {kYear, true}, {kList, false}}}}));

TEST(XmlStructure, SelectingListResetsAndDisablesLaterLevels) {
    XmlStructure s = XmlStructure::FromStored({1, 2, 3, 4});
    s.Select(1, kList);
    const std::array<Level, 4> expected = {
        {{kArtist, true}, {kList, true}, {kList, false}, {kList, false}}};
    EXPECT_EQ(Levels(s), expected);
    EXPECT_EQ(s.ToStored(), (Stored{1, 0, 0, 0}));
}

TEST(XmlStructure, SelectingAKeyEnablesOnlyTheNextLevel) {
    XmlStructure s = XmlStructure::FromStored({0, 0, 0, 0});
    s.Select(0, kYear);
    const std::array<Level, 4> expected = {
        {{kYear, true}, {kList, true}, {kList, false}, {kList, false}}};
    EXPECT_EQ(Levels(s), expected);
    s.Select(1, kAlbum);
    s.Select(2, kArtist);
    s.Select(3, kDirectory);
    EXPECT_EQ(s.ToStored(), (Stored{3, 2, 1, 4}));
    EXPECT_TRUE(s.Enabled(3));
}

TEST(XmlStructure, SelectingAKeyKeepsTheNextLevelsSelection) {
    XmlStructure s;  // preset: Level 4 disabled with "List"
    s.Select(2, kYear);
    EXPECT_EQ(s.At(3), (Level{kList, true}));
    EXPECT_EQ(s.At(1), (Level{kAlbum, true}));
}

TEST(XmlExportOptions, ValuesOfAnotherTypeReadAsDefaults) {
    FakeSettingsKey key;
    key.values["V2Title"] = std::u16string(u"0");
    key.values["V1Genre"] = std::u16string(u"1");
    key.values["Structure0"] = std::u16string(u"2");
    key.values["Mp3Bitrate"] = std::uint32_t{0};
    key.values["Mp3Vbr"] = std::uint32_t{7};
    const XmlExportOptions options = LoadXmlExportOptions(key);
    EXPECT_TRUE(options.v2Title);
    EXPECT_FALSE(options.v1Genre);
    EXPECT_EQ(options.structure.At(0), (Level{kList, true}));
    EXPECT_FALSE(options.mp3Bitrate);
    EXPECT_TRUE(options.mp3Vbr);
}

TEST(XmlExportOptions, StoredLocations) {
    struct Case {
        std::uint32_t fileName, fullPath;
        XmlLocation location;
    };
    for (const Case& c : std::vector<Case>{{1, 1, XmlLocation::FileName},
                                           {0, 1, XmlLocation::FullPath},
                                           {0, 0, XmlLocation::None},
                                           {1, 0, XmlLocation::FileName}}) {
        FakeSettingsKey key;
        key.values["FileName"] = c.fileName;
        key.values["FullPath"] = c.fullPath;
        const XmlExportOptions options = LoadXmlExportOptions(key);
        EXPECT_EQ(options.Location(), c.location) << c.fileName << c.fullPath;
        // Both radio buttons show what was stored, even the pair of trues.
        EXPECT_EQ(options.fileName, c.fileName != 0);
        EXPECT_EQ(options.fullPath, c.fullPath != 0);
    }
}

TEST(XmlExportOptions, SetLocationChecksOneRadioButton) {
    XmlExportOptions options;
    options.fullPath = true;
    options.SetLocation(XmlLocation::FullPath);
    EXPECT_FALSE(options.fileName);
    options.SetLocation(XmlLocation::None);
    EXPECT_FALSE(options.fileName || options.fullPath);
}

TEST(XmlExportOptions, SaveWritesEveryValueAndLoadsBackEqual) {
    XmlExportOptions options;
    options.SetLocation(XmlLocation::FullPath);
    options.mp3Bitrate = false;
    options.mp3Duration = options.mp3Vbr = true;
    options.v2Title = false;
    options.v2Genre = options.v1Track = options.v1Genre = true;
    options.skipIfEmpty = false;
    options.structure.Select(1, kYear);
    options.structure.Select(2, kDirectory);

    FakeSettingsKey key;
    SaveXmlExportOptions(options, key);
    EXPECT_EQ(key.writes, 22);
    EXPECT_EQ(key.values.size(), 22u);
    EXPECT_EQ(key.values.at("FileName"), FakeSettingsKey::Value(std::uint32_t{0}));
    EXPECT_EQ(key.values.at("FullPath"), FakeSettingsKey::Value(std::uint32_t{1}));
    EXPECT_EQ(key.values.at("V1Genre"), FakeSettingsKey::Value(std::uint32_t{1}));
    EXPECT_EQ(key.values.at("SkipIfEmpty"), FakeSettingsKey::Value(std::uint32_t{0}));
    EXPECT_EQ(key.values.at("Structure1"), FakeSettingsKey::Value(std::uint32_t{3}));
    EXPECT_EQ(key.values.at("Structure3"), FakeSettingsKey::Value(std::uint32_t{0}));
    EXPECT_EQ(LoadXmlExportOptions(key), options);
}

TEST(XmlExportOptions, DisabledLevelsAreStoredToo) {
    XmlExportOptions options;
    options.structure = XmlStructure::FromStored({9, 0, 0, 0});
    FakeSettingsKey key;
    SaveXmlExportOptions(options, key);
    EXPECT_EQ(key.values.at("Structure0"), FakeSettingsKey::Value(std::uint32_t{1}));
    EXPECT_EQ(key.values.at("Structure1"), FakeSettingsKey::Value(std::uint32_t{0}));
}

}  // namespace
}  // namespace velmora
