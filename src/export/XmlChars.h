#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// XML 1.0 (Fifth Edition) production [2] Char.
constexpr bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Reads the character at `pos` and advances past it (two units for a surrogate pair).
// A lone surrogate or any other character that XML 1.0 cannot carry (NUL and the other
// C0 controls except tab, LF and CR; U+FFFE, U+FFFF) comes back as U+FFFD.
char32_t NextXmlChar(std::u16string_view text, std::size_t& pos);

}  // namespace velmora
