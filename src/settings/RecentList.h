#pragma once

#include <string>
#include <string_view>
#include <vector>

// A list of recently used expressions, oldest first.
namespace velmora::settings {

// Removes the first entry equal to `text` (exact, case-sensitive) and appends `text`.
void MoveToEnd(std::vector<std::u16string>& entries, std::u16string_view text);
// Removes the first entry equal to `text`; false when there is none.
bool RemoveFirst(std::vector<std::u16string>& entries, std::u16string_view text);

}  // namespace velmora::settings
