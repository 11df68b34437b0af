#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora {

// What one level of the XML export groups the files by. The value is the item's index in
// the level's drop-down list and the number stored in the settings.
enum class XmlGrouping : std::uint32_t { List = 0, Artist = 1, Album = 2, Year = 3, Directory = 4 };

inline constexpr std::size_t kXmlGroupingCount = 5;
// The items of every level's drop-down list, in the order of their numbers.
inline constexpr std::array<std::u16string_view, kXmlGroupingCount> kXmlGroupingLabels = {
    u"List", u"Artist", u"Album", u"Year", u"Directory"};

// The four nesting levels ("Level 1" .. "Level 4") of the export: each level's key and
// whether its drop-down list can be changed. A level after a "List" level is disabled.
class XmlStructure {
  public:
    static constexpr std::size_t kLevelCount = 4;

    struct Level {
        XmlGrouping key = XmlGrouping::List;
        bool enabled = true;
        bool operator==(const Level&) const = default;
    };

    // The preset before stored numbers apply: Artist, Album, List, List; Level 4 disabled.
    XmlStructure();

    // Applies the stored numbers (index 0 = Level 1) over the preset: levels take their
    // numbers and are enabled up to the first "List"; the levels after it become "List"
    // and disabled. A number of 5 or more stops either walk, leaving that level and the
    // later ones as they were.
    static XmlStructure FromStored(const std::array<std::uint32_t, kLevelCount>& stored);

    const Level& At(std::size_t level) const { return levels_.at(level); }
    XmlGrouping Key(std::size_t level) const { return levels_.at(level).key; }
    bool Enabled(std::size_t level) const { return levels_.at(level).enabled; }

    // The user picks `key` in a level's list: "List" resets every later level to "List"
    // and disables it; any other key enables the next level, keeping its selection.
    void Select(std::size_t level, XmlGrouping key);

    // The numbers to store, disabled levels included.
    std::array<std::uint32_t, kLevelCount> ToStored() const;

    bool operator==(const XmlStructure&) const = default;

  private:
    std::array<Level, kLevelCount> levels_;
};

}  // namespace velmora
