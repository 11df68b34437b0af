#pragma once

#include <string>
#include <string_view>

namespace velmora {

namespace text {
class CodePage;
}

// The encoding of a playlist, which its format decides (M3U8 is the UTF-8 form of M3U).
enum class PlaylistEncoding { CodePage, Utf8 };

// How the text of a playlist becomes bytes: UTF-8, or text in the code page (the locale's).
class PlaylistText {
  public:
    PlaylistText(const text::CodePage& codePage, PlaylistEncoding encoding);

    bool IsUtf8() const { return utf8_; }
    // Tag text, with line breaks turned into spaces so it stays on its line.
    std::string Text(std::u16string_view text) const;
    // An entry path: the path's own bytes, which is what a path is, whatever the encoding of
    // the text (a UTF-8 playlist gets a file URI for a path that is not UTF-8 instead, see
    // PlaylistEntryPath).
    static std::string Entry(std::u16string_view path);

  private:
    const text::CodePage& codePage_;
    bool utf8_;
};

// Carriage returns and line feeds become spaces.
std::u16string OneLine(std::u16string_view text);

}  // namespace velmora
