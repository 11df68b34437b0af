#include "export/XmlStructure.h"

namespace velmora {

XmlStructure::XmlStructure()
    : levels_{{{XmlGrouping::Artist, true},
               {XmlGrouping::Album, true},
               {XmlGrouping::List, true},
               {XmlGrouping::List, false}}} {}

XmlStructure XmlStructure::FromStored(const std::array<std::uint32_t, kLevelCount>& stored) {
    XmlStructure structure;
    std::size_t level = 0;
    for (; level < kLevelCount; ++level) {
        if (stored[level] >= kXmlGroupingCount) {
            break;
        }
        structure.levels_[level] = {static_cast<XmlGrouping>(stored[level]), true};
        if (stored[level] == 0) {
            break;
        }
    }
    for (++level; level < kLevelCount; ++level) {
        if (stored[level] >= kXmlGroupingCount) {
            break;
        }
        structure.levels_[level] = {XmlGrouping::List, false};
    }
    return structure;
}

void XmlStructure::Select(std::size_t level, XmlGrouping key) {
    levels_.at(level).key = key;
    if (key == XmlGrouping::List) {
        for (std::size_t later = level + 1; later < kLevelCount; ++later) {
            levels_[later] = {XmlGrouping::List, false};
        }
    } else if (level + 1 < kLevelCount) {
        levels_[level + 1].enabled = true;
    }
}

std::array<std::uint32_t, XmlStructure::kLevelCount> XmlStructure::ToStored() const {
    std::array<std::uint32_t, kLevelCount> stored{};
    for (std::size_t level = 0; level < kLevelCount; ++level) {
        stored[level] = static_cast<std::uint32_t>(levels_[level].key);
    }
    return stored;
}

}  // namespace velmora
