#include "tags/record/TagRegion.h"

namespace velmora {

namespace {
constexpr std::uint8_t kFooterFlag = 0x10;
constexpr std::uint8_t kVersionWithFooter = 4;
}  // namespace

std::optional<std::uint64_t> ExistingTagEnd(std::span<const std::uint8_t, kTagHeaderSize> header) {
    if (header[0] != 'I' || header[1] != 'D' || header[2] != '3') {
        return std::nullopt;
    }
    const std::uint32_t size = (std::uint32_t{header[6]} << 21) | (std::uint32_t{header[7]} << 14) |
                               (std::uint32_t{header[8]} << 7) | std::uint32_t{header[9]};
    std::uint64_t end = kTagHeaderSize + std::uint64_t{size};
    if (header[3] == kVersionWithFooter && (header[5] & kFooterFlag) != 0) {
        end += kTagFooterSize;
    }
    return end;
}

std::array<std::uint8_t, kTagHeaderSize> EncodeTagHeader(std::uint8_t majorVersion,
                                                         std::uint32_t size) {
    return {'I',
            'D',
            '3',
            majorVersion,
            0,
            0,
            static_cast<std::uint8_t>((size >> 21) & 0x7F),
            static_cast<std::uint8_t>((size >> 14) & 0x7F),
            static_cast<std::uint8_t>((size >> 7) & 0x7F),
            static_cast<std::uint8_t>(size & 0x7F)};
}

}  // namespace velmora
