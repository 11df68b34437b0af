#include "text/Utf8.h"

#include <cstdint>

namespace velmora::text {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

void AppendUtf16CodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

void AppendUtf8CodePoint(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

namespace {

// Reads one UTF-16 code point at i (a surrogate pair when complete); lone surrogates give
// U+FFFD. Advances i.
std::uint32_t NextCodePoint(std::u16string_view text, std::size_t& i) {
    char16_t c = text[i++];
    if (IsHighSurrogate(c) && i < text.size() && IsLowSurrogate(text[i])) {
        char16_t low = text[i++];
        return 0x10000 + ((static_cast<std::uint32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
    }
    if (IsHighSurrogate(c) || IsLowSurrogate(c))
        return kReplacement;
    return c;
}

}  // namespace

std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i++]);
        if (lead == 0)
            break;
        if (lead < 0x80) {
            out.push_back(lead);
            continue;
        }
        int k = 0;
        while (k < 8 && (lead & (0x80 >> k)))
            ++k;
        if (k >= 5)
            return std::nullopt;
        // A lone continuation byte (k = 1) stands for the character of its low six bits:
        // tolerant of the stray bytes some taggers wrote.
        std::uint32_t value = lead & (0x7F >> k);
        for (int n = 1; n < k; ++n) {
            if (i >= bytes.size())
                return std::nullopt;
            auto cont = static_cast<unsigned char>(bytes[i++]);
            if ((cont & 0xC0) != 0x80)
                return std::nullopt;
            value = value * 64 + (cont & 0x3F);
        }
        if (value > 0x10FFFF)
            return std::nullopt;
        AppendUtf16CodePoint(out, value);
    }
    return out;
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size() && text[i] != 0) {
        AppendUtf8CodePoint(out, NextCodePoint(text, i));
    }
    return out;
}

std::u16string FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        int len = lead < 0x80         ? 1
                  : (lead >> 5) == 6  ? 2
                  : (lead >> 4) == 14 ? 3
                  : (lead >> 3) == 30 ? 4
                                      : 0;
        std::uint32_t cp = len == 1   ? lead
                           : len == 2 ? (lead & 0x1F)
                           : len == 3 ? (lead & 0x0F)
                                      : (lead & 0x07);
        bool ok = len > 0 && i + len <= utf8.size();
        for (int n = 1; ok && n < len; ++n) {
            auto cont = static_cast<unsigned char>(utf8[i + n]);
            ok = (cont & 0xC0) == 0x80;
            cp = cp * 64 + (cont & 0x3F);
        }
        static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        AppendUtf16CodePoint(out, cp);
        i += len;
    }
    return out;
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size())
        AppendUtf8CodePoint(out, NextCodePoint(text, i));
    return out;
}

}  // namespace velmora::text
