#include "export/XmlChars.h"

namespace velmora {

namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

char32_t NextXmlChar(std::u16string_view text, std::size_t& pos) {
    const char16_t unit = text[pos++];
    char32_t c = unit;
    if (IsHighSurrogate(unit) && pos < text.size() && IsLowSurrogate(text[pos])) {
        c = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[pos]} - 0xDC00);
        ++pos;
    }
    return IsXmlChar(c) ? c : kReplacementCharacter;
}

}  // namespace velmora
