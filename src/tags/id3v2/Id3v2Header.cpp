#include "tags/id3v2/Id3v2Header.h"

#include <algorithm>

namespace velmora {

Id3v2Header Id3v2Header::MakeDefault(std::uint8_t majorVersion) {
    Id3v2Header header;
    header.bytes_ = {'I', 'D', '3', majorVersion, 0, 0, 0, 0, 0, 0};
    return header;
}

bool Id3v2Header::Accept(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kSize || bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3')
        return false;
    std::copy_n(bytes.begin(), kSize, bytes_.begin());
    return true;
}

bool Id3v2Header::HasSynchsafeSize() const {
    return std::none_of(bytes_.begin() + 6, bytes_.end(), [](std::uint8_t b) { return b & 0x80; });
}

std::uint32_t Id3v2Header::TagSize() const {
    return (std::uint32_t{bytes_[6]} << 21) | (std::uint32_t{bytes_[7]} << 14) |
           (std::uint32_t{bytes_[8]} << 7) | std::uint32_t{bytes_[9]};
}

void Id3v2Header::SetTagSize(std::uint32_t size) {
    auto encoded = MakeSynchsafe32(size);
    std::copy(encoded.begin(), encoded.end(), bytes_.begin() + 6);
}

std::array<std::uint8_t, 4> MakeSynchsafe32(std::uint32_t value) {
    return {static_cast<std::uint8_t>((value >> 21) & 0x7F),
            static_cast<std::uint8_t>((value >> 14) & 0x7F),
            static_cast<std::uint8_t>((value >> 7) & 0x7F),
            static_cast<std::uint8_t>(value & 0x7F)};
}

std::array<std::uint8_t, 4> MakeBigEndian32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

}  // namespace velmora
