#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// Linux file names are bytes. They convert to text losslessly: valid UTF-8 decodes as
// usual, and each byte of an invalid sequence becomes U+DC00 + byte, one of U+DC80..U+DCFF
// (and back again), so
// a name that is not valid UTF-8 still opens, saves and renames.
std::u16string FileNameToText(std::string_view bytes);
std::string TextToFileName(std::u16string_view text);
// True when the text holds such an escaped byte: the name it stands for is not UTF-8.
bool HoldsEscapedBytes(std::u16string_view text);

class CodePage;
// The text with each run of escaped bytes decoded through the code page: a name written in a
// legacy 8-bit encoding reads as its user wrote it, where a tag takes text from it.
std::u16string DecodeEscapedBytes(std::u16string_view text, const CodePage& codePage);

}  // namespace velmora::text
