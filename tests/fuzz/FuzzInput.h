#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fuzz/FuzzTargets.h"

namespace velmora::fuzz {

// The parts of the input between zero bytes; at most `maxParts` (the last keeps the rest).
std::vector<Input> SplitAtZeros(Input input, std::size_t maxParts);

// UTF-8 where it is valid, each other byte as a lone surrogate (as file names decode): any
// bytes give text, and the dictionary-friendly ASCII stays as it is.
std::u16string LenientUtf8(Input bytes);

// Byte pairs as UTF-16LE units (an odd last byte is dropped): reaches lone surrogates,
// controls and noncharacters.
std::u16string RawUtf16(Input bytes);

}  // namespace velmora::fuzz
