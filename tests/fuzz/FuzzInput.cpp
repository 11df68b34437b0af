#include "fuzz/FuzzInput.h"

#include <algorithm>

#include "text/Utf8.h"

namespace velmora::fuzz {
namespace {

// Length of the valid UTF-8 sequence at the start of `bytes` (RFC 3629), 0 when none.
std::size_t ValidSequenceLength(Input bytes) {
    const std::uint8_t lead = bytes[0];
    std::size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    }
    if (length == 0 || bytes.size() < length)
        return 0;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (bytes[i] & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= min && code <= 0x10FFFF && !surrogate ? length : 0;
}

}  // namespace

std::vector<Input> SplitAtZeros(Input input, std::size_t maxParts) {
    std::vector<Input> parts;
    while (parts.size() + 1 < maxParts) {
        const auto zero = std::find(input.begin(), input.end(), std::uint8_t{0});
        if (zero == input.end())
            break;
        const auto length = static_cast<std::size_t>(zero - input.begin());
        parts.push_back(input.first(length));
        input = input.subspan(length + 1);
    }
    parts.push_back(input);
    return parts;
}

std::u16string LenientUtf8(Input bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = ValidSequenceLength(bytes);
        if (length == 0) {
            out.push_back(bytes[0]);
            bytes = bytes.subspan(1);
            continue;
        }
        const char* chars = reinterpret_cast<const char*>(bytes.data());
        out += text::FromUtf8(std::string_view(chars, length));
        bytes = bytes.subspan(length);
    }
    return out;
}

std::u16string RawUtf16(Input bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return out;
}

}  // namespace velmora::fuzz
