#pragma once

#include <cstdint>

namespace velmora {

// The zero padding written after a tag body of `bodySize` bytes that is followed by
// `afterTag` bytes of file: with T = afterTag + bodySize + 10 (the tag header), the padding
// brings T up to the next multiple of 4096, so the whole file ends on a 4 KiB boundary and a
// later small growth fits in place. Between 1 and 4096 (4096 when T is already aligned).
// 32-bit arithmetic: larger files align on their low 32 bits, which keeps the alignment.
std::uint32_t PaddingFor(std::uint32_t afterTag, std::uint32_t bodySize);

}  // namespace velmora
