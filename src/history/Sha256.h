#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace velmora::history {

using Digest = std::array<std::uint8_t, 32>;

// The SHA-256 digest of the bytes: the name under which the store keeps them.
Digest Sha256(std::span<const std::uint8_t> bytes);

}  // namespace velmora::history
