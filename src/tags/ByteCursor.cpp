#include "tags/ByteCursor.h"

#include "tags/Id3v2Header.h"

namespace velmora {

std::span<const std::uint8_t> ByteCursor::Take(std::size_t n) {
    if (n > Left())
        Fail(n);
    auto taken = bytes_.subspan(position_, n);
    position_ += n;
    return taken;
}

std::span<const std::uint8_t> ByteCursor::Peek(std::size_t n) const {
    if (n > Left())
        Fail(n);
    return bytes_.subspan(position_, n);
}

std::uint32_t ByteCursor::TakeBigEndian32() {
    return ReadBigEndian32(Take(4).first<4>());
}

std::uint32_t ByteCursor::TakeSynchsafe32() {
    return ReadSynchsafe32(Take(4).first<4>());
}

std::uint32_t ByteCursor::TakeBigEndian24() {
    auto b = Take(3);
    return (std::uint32_t{b[0]} << 16) | (std::uint32_t{b[1]} << 8) | std::uint32_t{b[2]};
}

void ByteCursor::Fail(std::size_t wanted) const {
    throw CursorRangeError(std::string("reading ") + what_ + ": wanted " + std::to_string(wanted) +
                           " bytes at offset " + std::to_string(position_) + " of " +
                           std::to_string(bytes_.size()));
}

}  // namespace velmora
