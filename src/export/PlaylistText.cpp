#include "export/PlaylistText.h"

#include <algorithm>

#include "text/CodePage.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora {

PlaylistText::PlaylistText(const text::CodePage& codePage, PlaylistEncoding encoding)
    : codePage_(codePage), utf8_(encoding == PlaylistEncoding::Utf8) {}

std::string PlaylistText::Text(std::u16string_view text) const {
    const std::u16string line = OneLine(text);
    return utf8_ ? text::ToUtf8(line) : codePage_.Encode(line);
}

std::string PlaylistText::Entry(std::u16string_view path) {
    return text::TextToFileName(path);
}

std::u16string OneLine(std::u16string_view text) {
    std::u16string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
    return line;
}

}  // namespace velmora
