#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velmora {

// Undoes the unsynchronisation scheme (ID3v2.4 section 6.1): every FF 00 becomes FF.
void UndoUnsynchronisation(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out);

}  // namespace velmora
