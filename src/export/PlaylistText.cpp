#include "export/PlaylistText.h"

#include <algorithm>

#include "text/CodePage.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora {

namespace {

char16_t AsciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c - u'A' + u'a' : c;
}

}  // namespace

PlaylistText::PlaylistText(const text::CodePage& codePage, std::u16string_view target)
    : codePage_(codePage), utf8_(HasExtension(target, u"m3u8")) {}

std::string PlaylistText::Text(std::u16string_view text) const {
    const std::u16string line = OneLine(text);
    return utf8_ ? text::ToUtf8(line) : codePage_.Encode(line);
}

std::string PlaylistText::Entry(std::u16string_view path) const {
    return utf8_ ? text::TextToFileName(path) : codePage_.Encode(path);
}

std::u16string OneLine(std::u16string_view text) {
    std::u16string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
    return line;
}

bool HasExtension(std::u16string_view path, std::u16string_view extension) {
    const std::size_t slash = path.rfind(u'/');
    const std::u16string_view name =
        slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    if (name.size() <= extension.size() || name[name.size() - extension.size() - 1] != u'.') {
        return false;
    }
    return std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                      [](char16_t a, char16_t b) { return AsciiLower(a) == AsciiLower(b); });
}

}  // namespace velmora
