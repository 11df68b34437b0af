#include "tags/TextEncoding.h"

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

std::optional<std::u16string> DecodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return DecodeUnits(bytes.subspan(2), false);
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return DecodeUnits(bytes.subspan(2), true);
    return DecodeUnits(bytes, bigEndian);
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
            return DecodeUtf16(bytes, false);
        case kUtf16BE:
            return DecodeUtf16(bytes, true);
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
