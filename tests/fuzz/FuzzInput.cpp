#include "fuzz/FuzzInput.h"

#include <algorithm>

#include "text/FileName.h"

namespace velmora::fuzz {

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
    return text::FileNameToText({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::u16string RawUtf16(Input bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return out;
}

}  // namespace velmora::fuzz
