#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {
namespace text {
class CodePage;
}

// The text encoding byte of an ID3v2 frame body (ID3v2.4 section 4).
namespace text_encoding {
inline constexpr std::uint8_t kLatin1 = 0;   // 8-bit text in the active code page
inline constexpr std::uint8_t kUtf16 = 1;    // UTF-16 with byte-order mark
inline constexpr std::uint8_t kUtf16BE = 2;  // UTF-16 big-endian, no mark
inline constexpr std::uint8_t kUtf8 = 3;

constexpr bool IsSupported(std::uint8_t encoding) {
    return encoding <= kUtf8;
}
constexpr std::size_t TerminatorLength(std::uint8_t encoding) {
    return encoding == kUtf16 || encoding == kUtf16BE ? 2 : 1;
}
}  // namespace text_encoding

// Where the first string of `bytes` ends: the offset of its terminator (searched in whole
// units from the start for the two-byte encodings), or npos when there is none.
std::size_t FindTerminator(std::span<const std::uint8_t> bytes, std::uint8_t encoding);

// Decodes one string (no terminator inside) as the ID3 standard defines the encodings:
// encoding 2 is always big-endian, with no mark (a leading FE FF is the character U+FEFF);
// encoding 1 honours its byte-order mark (FF FE little-endian, FE FF big-endian) and without
// one is little-endian unless the text is clearly big-endian (see LooksBigEndian). Fails
// (nullopt) for encodings 4 and above, an odd UTF-16 length, and 8-bit or UTF-8 bytes that
// would not come back unchanged when the text is encoded again: such text is kept as raw bytes
// instead.
std::optional<std::u16string> DecodeText(std::span<const std::uint8_t> bytes, std::uint8_t encoding,
                                         const text::CodePage& codePage);

// Appends the text in the encoding, without terminator: 0 the whole conversion to the code
// page, 1 FF FE then little-endian units, 2 big-endian units, 3 UTF-8; 4 and above nothing.
void EncodeText(std::u16string_view text, std::uint8_t encoding, const text::CodePage& codePage,
                std::vector<std::uint8_t>& out);
void AppendTerminator(std::uint8_t encoding, std::vector<std::uint8_t>& out);

}  // namespace velmora
