#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::text {

// Decodes UTF-8 as ID3 text: fails as a whole (nullopt) on a lead byte of 0xF8 or above or
// a missing continuation byte; a 4-byte sequence becomes a surrogate pair. Decoding stops at
// the first zero byte.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes);

// Encodes UTF-16 as UTF-8 up to the first zero unit; a surrogate pair becomes one 4-byte
// sequence and a lone surrogate becomes EF BF BD (U+FFFD).
std::string EncodeUtf8(std::u16string_view text);

// Appends one code point (up to U+10FFFF) in the given form.
void AppendUtf8CodePoint(std::string& out, char32_t codePoint);
void AppendUtf16CodePoint(std::u16string& out, char32_t codePoint);

// Convenience for ASCII/UTF-8 literals in code and tests: strict UTF-8 to UTF-16 (invalid
// bytes become U+FFFD).
std::u16string FromUtf8(std::string_view utf8);
// UTF-16 to UTF-8 for printing (lone surrogates become U+FFFD); does not stop at zero units.
std::string ToUtf8(std::u16string_view text);

}  // namespace velmora::text
