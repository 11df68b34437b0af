#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace velmora::mpeg {

// Bounds-checked big-endian reads at an offset of a byte span: none when the value does not
// lie wholly inside it.
inline std::optional<std::uint32_t> ReadBigEndian(std::span<const std::uint8_t> bytes,
                                                  std::size_t offset, std::size_t width) {
    if (offset > bytes.size() || bytes.size() - offset < width || width > 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::uint8_t byte : bytes.subspan(offset, width))
        value = (value << 8) | byte;
    return value;
}

// Whether the bytes at `offset` spell `tag`.
inline bool HasTagAt(std::span<const std::uint8_t> bytes, std::size_t offset,
                     std::string_view tag) {
    if (offset > bytes.size() || bytes.size() - offset < tag.size())
        return false;
    auto window = bytes.subspan(offset, tag.size());
    for (std::size_t i = 0; i < tag.size(); ++i) {
        if (window[i] != static_cast<std::uint8_t>(tag[i]))
            return false;
    }
    return true;
}

}  // namespace velmora::mpeg
