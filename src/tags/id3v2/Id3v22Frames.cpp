#include "tags/id3v2/Id3v22Frames.h"

#include <string>

#include "tags/file/ByteCursor.h"
#include "text/Ascii.h"

namespace velmora {

std::optional<FrameId> ConvertId3v22FrameId(std::string_view v22) {
    for (const auto& mapping : kId3v22Frames) {
        if (mapping.v22 == v22)
            return mapping.v23;
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ConvertPicBody(std::span<const std::uint8_t> body) {
    // Encoding, a three-letter image format, then type, description and data as in APIC.
    ByteCursor cursor(body, "PIC frame");
    auto encoding = cursor.TakeByte();
    auto format = cursor.Take(3);
    if (!encoding || !format || cursor.AtEnd())
        return std::nullopt;
    std::string name;
    for (std::uint8_t c : *format) {
        if (c == 0)
            break;
        name.push_back(text::AsciiLower(static_cast<char>(c)));
    }
    std::string mime = name == "jpg" ? "image/jpeg" : "image/" + name;
    if (name == "-->")
        mime = "-->";  // a link to the picture, kept as the standard writes it
    const auto rest = cursor.TakeRest();
    std::vector<std::uint8_t> apic;
    apic.reserve(1 + mime.size() + 1 + rest.size());
    apic.push_back(*encoding);
    apic.insert(apic.end(), mime.begin(), mime.end());
    apic.push_back(0);
    apic.insert(apic.end(), rest.begin(), rest.end());
    return apic;
}

}  // namespace velmora
