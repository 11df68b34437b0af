#include "tags/Id3v22Frames.h"

#include <string>

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
    if (body.size() < 5)
        return std::nullopt;
    std::string format;
    for (std::size_t i = 1; i < 4 && body[i] != 0; ++i) {
        format.push_back(text::AsciiLower(static_cast<char>(body[i])));
    }
    std::string mime = format == "jpg" ? "image/jpeg" : "image/" + format;
    if (format == "-->")
        mime = "-->";  // a link to the picture, kept as the standard writes it
    std::vector<std::uint8_t> apic;
    apic.reserve(body.size() + mime.size());
    apic.push_back(body[0]);
    apic.insert(apic.end(), mime.begin(), mime.end());
    apic.push_back(0);
    apic.insert(apic.end(), body.begin() + 4, body.end());
    return apic;
}

}  // namespace velmora
