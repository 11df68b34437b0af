#include "text/FileName.h"

#include "text/CodePage.h"
#include "text/Utf8.h"

#include <cstdint>

namespace velmora::text {
namespace {

// Bytes 0x80-0xFF map to U+DC80-U+DCFF, the surrogate-escape convention of other tools.
constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid, shortest-form UTF-8 sequence at i, or 0 when the bytes there are not
// one (surrogate code points are not valid UTF-8 either).
std::size_t ValidSequenceLength(std::string_view bytes, std::size_t i, std::uint32_t& cp) {
    auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t len;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + len > bytes.size())
        return 0;
    for (std::size_t n = 1; n < len; ++n) {
        auto cont = static_cast<unsigned char>(bytes[i + n]);
        if ((cont & 0xC0) != 0x80)
            return 0;
        cp = cp * 64 + (cont & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    if (cp >= 0xD800 && cp <= 0xDFFF)
        return 0;
    return len;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsEscapedByte(char16_t c) {
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF;
}

}  // namespace

std::u16string FileNameToText(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::uint32_t cp = 0;
        std::size_t len = ValidSequenceLength(bytes, i, cp);
        if (len == 0) {
            out.push_back(
                static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
            ++i;
            continue;
        }
        AppendUtf16CodePoint(out, cp);
        i += len;
    }
    return out;
}

std::string TextToFileName(std::u16string_view text) {
    std::string out;
    // Most paths are ASCII, one byte per unit; the first other unit goes the long way.
    std::size_t i = 0;
    while (i < text.size() && text[i] < 0x80) {
        ++i;
    }
    out.assign(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(i));
    if (i == text.size()) {
        return out;
    }
    out.reserve(text.size() + 8);
    while (i < text.size()) {
        char16_t c = text[i++];
        std::uint32_t cp = c;
        if (IsHighSurrogate(c) && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            cp = 0x10000 + ((static_cast<std::uint32_t>(c) - 0xD800) << 10) + (text[i++] - 0xDC00);
        } else if (IsEscapedByte(c)) {
            // An escaped byte of a name that was not valid UTF-8: give the byte back.
            out.push_back(static_cast<char>(c - kEscapeBase));
            continue;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8CodePoint(out, cp);
    }
    return out;
}

bool HoldsEscapedBytes(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsEscapedByte(text[i]) && (i == 0 || !IsHighSurrogate(text[i - 1])))
            return true;
    }
    return false;
}

std::u16string DecodeEscapedBytes(std::u16string_view text, const CodePage& codePage) {
    if (!HoldsEscapedBytes(text))
        return std::u16string(text);
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size()) {
            out.append(text.substr(i, 2));
            i += 2;
            continue;
        }
        if (!IsEscapedByte(text[i])) {
            out += text[i++];
            continue;
        }
        std::string run;  // together, for a code page of more than one byte a character
        while (i < text.size() && IsEscapedByte(text[i]))
            run += static_cast<char>(text[i++] - kEscapeBase);
        out += codePage.Decode(run);
    }
    return out;
}

}  // namespace velmora::text
