#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <toml++/toml.h>

// The three value types of the store over one TOML table: a DWORD is an integer from 0 to
// 4294967295, a String a string, a Multi-string an array of strings. Any other TOML value
// is of "another type" and reads as absent.
namespace velmora::settings {

// Longest string a String value may hold, in UTF-16 units, not counting the closing NUL.
inline constexpr std::size_t kMaxStringLength = 259;

std::optional<std::uint32_t> FindDword(const toml::table& key, std::string_view name);
// Absent also when longer than kMaxStringLength; text after an embedded NUL is cut off.
std::optional<std::u16string> FindString(const toml::table& key, std::string_view name);
// The non-empty entries in stored order, each cut at an embedded NUL.
std::vector<std::u16string> FindEntries(const toml::table& key, std::string_view name);

void StoreDword(toml::table& key, std::string_view name, std::uint32_t value);
// Stores the text up to its first NUL.
void StoreString(toml::table& key, std::string_view name, std::u16string_view text);
// Stores the entries up to the first empty one, as a multi-string holds them; each entry
// is cut at an embedded NUL.
void StoreEntries(toml::table& key, std::string_view name,
                  const std::vector<std::u16string>& entries);

// The table of the sub-key `subKey` of `root` (`root` itself for an empty name); null when
// absent or not a table.
const toml::table* FindKey(const toml::table& root, std::string_view subKey);
// As FindKey, creating the sub-key (or replacing a value of another type) when needed.
toml::table& MakeKey(toml::table& root, std::string_view subKey);

}  // namespace velmora::settings
