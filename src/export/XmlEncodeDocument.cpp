#include <algorithm>

#include "export/XmlChars.h"
#include "export/XmlWriter.h"

namespace velmora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n";
constexpr std::size_t kInitialCapacity = 16384;

// RFC 3629 UTF-8 for one scalar value.
void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string EncodeDocument(std::u16string_view serialized) {
    std::string bytes;
    bytes.reserve(std::max(kInitialCapacity,
                           kByteOrderMark.size() + kDeclaration.size() + 3 * serialized.size()));
    bytes += kByteOrderMark;
    bytes += kDeclaration;
    // NUL is not stopped at: it comes back as U+FFFD like every other character XML
    // cannot carry, so the document is never cut short inside an element.
    for (std::size_t pos = 0; pos < serialized.size();) {
        AppendUtf8(bytes, NextXmlChar(serialized, pos));
    }
    return bytes;
}

}  // namespace velmora
