#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmora {

// Limits on what one compressed frame may inflate to, so a crafted tag cannot exhaust memory.
inline constexpr std::size_t kMaxInflatedBytes = 64u * 1024 * 1024;
inline constexpr std::size_t kMaxInflateRatio = 1000;

// Inflates one zlib stream (RFC 1950). Fails (nullopt) on a damaged or unfinished stream,
// and when the output would pass kMaxInflatedBytes or kMaxInflateRatio times the input.
std::optional<std::vector<std::uint8_t>> InflateBounded(std::span<const std::uint8_t> compressed);

}  // namespace velmora
