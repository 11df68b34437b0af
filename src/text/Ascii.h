#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// Lower case for the letters A-Z only, whatever the locale: for names in tags and files
// (MIME types, language codes, extensions), which are ASCII by definition.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

inline std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = AsciiLower(c);
    return lower;
}

}  // namespace velmora::text
