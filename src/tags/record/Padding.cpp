#include "tags/record/Padding.h"

namespace velmora {

namespace {
constexpr std::uint32_t kAlignment = 4096;
constexpr std::uint32_t kTagHeaderSize = 10;
}  // namespace

std::uint32_t PaddingFor(std::uint32_t afterTag, std::uint32_t bodySize) {
    const std::uint32_t total = afterTag + bodySize + kTagHeaderSize;
    const std::uint32_t nextBoundary = (total + kAlignment) & ~(kAlignment - 1);
    return nextBoundary - total;
}

}  // namespace velmora
