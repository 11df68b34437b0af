#include "export/XmlExportOptions.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "support/FakeSettingsKey.h"

namespace velmora {
namespace {

using testing::FakeSettingsKey;
using Level = XmlStructure::Level;
using Levels = std::array<Level, XmlStructure::kLevelCount>;
using Stored = std::array<std::uint32_t, XmlStructure::kLevelCount>;

constexpr XmlGrouping kList = XmlGrouping::List;
constexpr XmlGrouping kArtist = XmlGrouping::Artist;
constexpr XmlGrouping kAlbum = XmlGrouping::Album;
constexpr XmlGrouping kYear = XmlGrouping::Year;
constexpr XmlGrouping kDirectory = XmlGrouping::Directory;

Levels LevelsOf(const XmlStructure& s) {
    return {s.At(0), s.At(1), s.At(2), s.At(3)};
}

TEST(XmlStructure, StoredNumbersApplyOverThePreset) {
    const struct {
        Stored stored;
        Levels levels;
    } rows[] = {
        // A fresh store: one list level.
        {{0, 0, 0, 0}, {{{kList, true}, {kList, false}, {kList, false}, {kList, false}}}},
        {{1, 2, 0, 0}, {{{kArtist, true}, {kAlbum, true}, {kList, true}, {kList, false}}}},
        {{1, 2, 3, 4}, {{{kArtist, true}, {kAlbum, true}, {kYear, true}, {kDirectory, true}}}},
        // Levels after the first list are reset.
        {{1, 0, 3, 4}, {{{kArtist, true}, {kList, true}, {kList, false}, {kList, false}}}},
        // A number of 5 or more stops either walk, keeping the preset from there.
        {{9, 0, 0, 0}, {{{kArtist, true}, {kList, false}, {kList, false}, {kList, false}}}},
        {{9, 0, 7, 0}, {{{kArtist, true}, {kList, false}, {kList, true}, {kList, false}}}},
        {{4, 0xFFFFFFFFu, 1, 1},
         {{{kDirectory, true}, {kAlbum, true}, {kList, false}, {kList, false}}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.stored));
        EXPECT_EQ(LevelsOf(XmlStructure::FromStored(row.stored)), row.levels);
    }
}

TEST(XmlStructure, SelectingListDisablesLaterLevelsAndAKeyEnablesTheNext) {
    XmlStructure s = XmlStructure::FromStored({1, 2, 3, 4});
    s.Select(1, kList);
    EXPECT_EQ(LevelsOf(s),
              (Levels{{{kArtist, true}, {kList, true}, {kList, false}, {kList, false}}}));
    EXPECT_EQ(s.ToStored(), (Stored{1, 0, 0, 0}));
    s.Select(1, kYear);
    EXPECT_EQ(LevelsOf(s),
              (Levels{{{kArtist, true}, {kYear, true}, {kList, true}, {kList, false}}}));
    XmlStructure preset;  // Level 4 disabled with "List": a key at Level 3 enables it as it is
    preset.Select(2, kYear);
    EXPECT_EQ(preset.At(3), (Level{kList, true}));
}

TEST(XmlExportOptions, SaveWritesEveryValueAndLoadsBackEqual) {
    XmlExportOptions options;
    options.SetLocation(XmlLocation::FullPath);
    options.mp3Bitrate = options.v2Title = options.skipIfEmpty = false;
    options.mp3Duration = options.mp3Vbr = options.v2Genre = options.v1Track = true;
    options.structure.Select(1, kYear);
    options.structure.Select(2, kDirectory);
    FakeSettingsKey key;
    SaveXmlExportOptions(options, key);
    EXPECT_EQ(key.values.size(), 22u);
    const std::pair<const char*, std::uint32_t> some[] = {
        {"FullPath", 1}, {"SkipIfEmpty", 0}, {"Structure1", 3}, {"Structure3", 0}};
    for (const auto& [name, value] : some) {
        EXPECT_EQ(key.values.at(name), FakeSettingsKey::Value(value)) << name;
    }
    EXPECT_EQ(LoadXmlExportOptions(key), options);
}

}  // namespace
}  // namespace velmora
