#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora {

// How many bytes at the start of a file StartsAsOtherFormat looks at.
inline constexpr std::size_t kFormatSignatureBytes = 12;

// True when the file begins with the signature of a format that is not MPEG audio (images,
// lossless and other compressed audio, containers, archives). Such a file may still hold
// two bytes that pass for linked MPEG frame headers by chance, and a tag written into it
// would damage it.
bool StartsAsOtherFormat(std::span<const std::uint8_t> start);

}  // namespace velmora
