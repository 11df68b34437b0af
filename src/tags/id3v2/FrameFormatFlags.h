#pragma once

#include <cstdint>

namespace velmora {

// The bits of a frame header's second flag byte, which the two versions place differently
// (ID3v2.3 section 3.3.1, ID3v2.4 section 4.1.2). A bit the version lacks is 0.
struct FrameFormatFlags {
    std::uint8_t compressed;
    std::uint8_t encrypted;
    std::uint8_t grouped;
    std::uint8_t unsynchronised;
    std::uint8_t dataLength;
};

inline constexpr FrameFormatFlags kV3FormatFlags{0x80, 0x40, 0x20, 0, 0};
inline constexpr FrameFormatFlags kV4FormatFlags{0x08, 0x04, 0x40, 0x02, 0x01};

// The bits of an ID3v2.3 (or, read as such, ID3v2.2) or ID3v2.4 frame.
constexpr const FrameFormatFlags& FormatFlagsOf(std::uint8_t majorVersion) {
    return majorVersion == 4 ? kV4FormatFlags : kV3FormatFlags;
}

}  // namespace velmora
