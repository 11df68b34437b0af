#pragma once

#include <string>
#include <string_view>

namespace velmora::regex::testing {

// ASCII test text to UTF-16 (tests that need other characters write u"" literals).
inline std::u16string U16(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

// UTF-16 to printable ASCII for failure messages: other units appear as \uXXXX.
inline std::string Printable(std::u16string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) {
                out.push_back(kHex[(c >> shift) & 0xF]);
            }
        }
    }
    return out;
}

}  // namespace velmora::regex::testing
