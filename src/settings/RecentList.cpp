#include "settings/RecentList.h"

#include <algorithm>

namespace velmora::settings {

void MoveToEnd(std::vector<std::u16string>& entries, std::u16string_view text) {
    RemoveFirst(entries, text);
    entries.emplace_back(text);
}

bool RemoveFirst(std::vector<std::u16string>& entries, std::u16string_view text) {
    const auto found = std::find(entries.begin(), entries.end(), text);
    if (found == entries.end()) {
        return false;
    }
    entries.erase(found);
    return true;
}

}  // namespace velmora::settings
