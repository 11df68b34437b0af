#pragma once

#include <string>
#include <string_view>

// TOML strings are UTF-8; settings text is UTF-16.
namespace velmora::settings::detail {

// Invalid sequences (which a parsed document never holds) become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// A lone surrogate has no UTF-8 form that a TOML reader accepts: it becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace velmora::settings::detail
