#include "export/FileUri.h"

#include <string>

#include "text/FileName.h"

namespace velmora {
namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

// The value of a hexadecimal digit; -1 for any other character.
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::u16string FileUri(std::u16string_view absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::u16string uri = u"file://";
    for (const char byte : text::TextToFileName(absolutePath)) {
        const auto c = static_cast<unsigned char>(byte);
        if (IsUnreserved(c)) {
            uri += static_cast<char16_t>(c);
        } else {
            uri += u'%';
            uri += static_cast<char16_t>(kHex[c >> 4]);
            uri += static_cast<char16_t>(kHex[c & 0xF]);
        }
    }
    return uri;
}

std::u16string PathOfFileUri(std::u16string_view text) {
    constexpr std::u16string_view kScheme = u"file:///";
    if (!text.starts_with(kScheme))
        return std::u16string(text);
    const std::string encoded = text::TextToFileName(text.substr(kScheme.size() - 1));
    std::string bytes;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const int high = i + 2 < encoded.size() ? HexValue(encoded[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(encoded[i + 2]) : -1;
        if (encoded[i] == '%' && low >= 0) {
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            bytes += encoded[i];
        }
    }
    return text::FileNameToText(bytes);
}

}  // namespace velmora
