#pragma once

#include <string>
#include <string_view>

namespace velmora {

namespace text {
class CodePage;
}

// How the text of a playlist becomes bytes. A target with the extension .m3u8 is UTF-8
// (texts through the UTF-8 encoder, entries through the lossless file-name conversion, so
// every name resolves); any other target is 8-bit text in the code page.
class PlaylistText {
  public:
    PlaylistText(const text::CodePage& codePage, std::u16string_view target);

    bool IsUtf8() const { return utf8_; }
    // Tag text, with line breaks turned into spaces so it stays on its line.
    std::string Text(std::u16string_view text) const;
    // An entry path.
    std::string Entry(std::u16string_view path) const;

  private:
    const text::CodePage& codePage_;
    bool utf8_;
};

// Carriage returns and line feeds become spaces.
std::u16string OneLine(std::u16string_view text);

// Whether the last name of `path` ends in "." + `extension`, ignoring ASCII letter case.
bool HasExtension(std::u16string_view path, std::u16string_view extension);

}  // namespace velmora
