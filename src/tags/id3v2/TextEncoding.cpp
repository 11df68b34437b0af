#include "tags/id3v2/TextEncoding.h"

#include <string>

#include "text/CodePage.h"
#include "text/Utf8.h"

namespace velmora {

using namespace text_encoding;

namespace {

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::u16string DecodeUnits(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned hi = bigEndian ? bytes[i] : bytes[i + 1];
        unsigned lo = bigEndian ? bytes[i + 1] : bytes[i];
        text.push_back(static_cast<char16_t>((hi << 8) | lo));
    }
    return text;
}

// How unlikely a code unit is in text: unpaired surrogates and noncharacters count most,
// control characters less. Private-use characters count nothing: some names hold them.
int Oddness(char16_t unit, char16_t before, char16_t after) {
    if (unit >= 0xD800 && unit <= 0xDBFF)
        return after >= 0xDC00 && after <= 0xDFFF ? 0 : 4;
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return before >= 0xD800 && before <= 0xDBFF ? 0 : 4;
    if (unit == 0xFFFE || unit == 0xFFFF || (unit >= 0xFDD0 && unit <= 0xFDEF))
        return 4;
    if ((unit < 0x20 && unit != u'\t' && unit != u'\n' && unit != u'\r') ||
        (unit >= 0x7F && unit < 0xA0))
        return 2;
    return 0;
}

int Oddness(std::u16string_view text) {
    int sum = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        sum += Oddness(text[i], i ? text[i - 1] : 0, i + 1 < text.size() ? text[i + 1] : 0);
    return sum;
}

// The byte order of encoding 1 text that lacks its mark. Little-endian, as other readers take
// it, unless the text clearly says otherwise: read little-endian it holds odd units that
// big-endian it does not, or most of its units have a zero first byte and none a zero second
// byte (big-endian Latin text such as "\u00C4rtist" from a writer that forgot the mark).
// One zero byte is no evidence: U+4E00 is 4E 00.
bool LooksBigEndian(std::span<const std::uint8_t> bytes) {
    const std::size_t units = bytes.size() / 2;
    std::size_t zeroFirst = 0, zeroSecond = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        zeroFirst += bytes[i] == 0;
        zeroSecond += bytes[i + 1] == 0;
    }
    const int asBig = Oddness(DecodeUnits(bytes, true));
    const int asLittle = Oddness(DecodeUnits(bytes, false));
    if (asBig != asLittle)
        return asBig < asLittle;
    return zeroSecond == 0 && units >= 2 && zeroFirst * 2 > units;
}

std::optional<std::u16string> DecodeUtf16(std::span<const std::uint8_t> bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return DecodeUnits(bytes.subspan(2), false);
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return DecodeUnits(bytes.subspan(2), true);
    return DecodeUnits(bytes, LooksBigEndian(bytes));
}

// Encoding 2 is big-endian by definition, whatever the text looks like. It has no mark, so a
// leading FE FF is the character U+FEFF: taking it for a mark would drop it, and the text
// would no longer be written back as it was read.
std::optional<std::u16string> DecodeUtf16BE(std::span<const std::uint8_t> bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    return DecodeUnits(bytes, true);
}

}  // namespace

std::size_t FindTerminator(std::span<const std::uint8_t> bytes, std::uint8_t encoding) {
    if (TerminatorLength(encoding) == 2) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            if (bytes[i] == 0 && bytes[i + 1] == 0)
                return i;
        }
        return std::string_view::npos;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == 0)
            return i;
    }
    return std::string_view::npos;
}

std::optional<std::u16string> DecodeText(std::span<const std::uint8_t> bytes, std::uint8_t encoding,
                                         const text::CodePage& codePage) {
    switch (encoding) {
        case kLatin1:
            return codePage.DecodeLossless(AsChars(bytes));
        case kUtf16:
            return DecodeUtf16(bytes);
        case kUtf16BE:
            return DecodeUtf16BE(bytes);
        case kUtf8: {
            auto text = text::DecodeUtf8(AsChars(bytes));
            if (!text || text::EncodeUtf8(*text) != AsChars(bytes))
                return std::nullopt;
            return text;
        }
        default:
            return std::nullopt;
    }
}

void EncodeText(std::u16string_view text, std::uint8_t encoding, const text::CodePage& codePage,
                std::vector<std::uint8_t>& out) {
    auto appendChars = [&out](std::string_view chars) {
        out.insert(out.end(), chars.begin(), chars.end());
    };
    switch (encoding) {
        case kLatin1:
            appendChars(codePage.Encode(text));
            break;
        case kUtf16:
            out.push_back(0xFF);
            out.push_back(0xFE);
            for (char16_t c : text) {
                out.push_back(static_cast<std::uint8_t>(c & 0xFF));
                out.push_back(static_cast<std::uint8_t>(c >> 8));
            }
            break;
        case kUtf16BE:
            for (char16_t c : text) {
                out.push_back(static_cast<std::uint8_t>(c >> 8));
                out.push_back(static_cast<std::uint8_t>(c & 0xFF));
            }
            break;
        case kUtf8:
            appendChars(text::EncodeUtf8(text));
            break;
        default:
            break;
    }
}

void AppendTerminator(std::uint8_t encoding, std::vector<std::uint8_t>& out) {
    if (!IsSupported(encoding))
        return;
    out.insert(out.end(), TerminatorLength(encoding), 0);
}

}  // namespace velmora
