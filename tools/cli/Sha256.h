#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velmora::cli {

// The SHA-256 digest (FIPS 180-4) of the bytes, as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::span<const std::uint8_t> bytes);

}  // namespace velmora::cli
