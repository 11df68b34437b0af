#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace velmora {

// Thrown when a read runs past the end of a ByteCursor's range. Its text says what was
// read and where, for tests and debugging; the frame walk catches it quietly.
class CursorRangeError : public std::out_of_range {
  public:
    using std::out_of_range::out_of_range;
};

// The one bounds-checked view for reading untrusted bytes owned elsewhere.
class ByteCursor {
  public:
    ByteCursor() = default;
    explicit ByteCursor(std::span<const std::uint8_t> bytes, const char* what = "bytes")
        : bytes_(bytes), what_(what) {}

    // The next n bytes, advancing past them; throws CursorRangeError (changing nothing) when
    // fewer are left. Take(0) peeks.
    std::span<const std::uint8_t> Take(std::size_t n);
    std::uint8_t TakeByte() { return Take(1)[0]; }
    std::uint32_t TakeBigEndian32();
    std::uint32_t TakeSynchsafe32();
    std::uint32_t TakeBigEndian24();
    // Everything left.
    std::span<const std::uint8_t> TakeRest() { return Take(Left()); }
    // The next n bytes without advancing (n <= Left()).
    std::span<const std::uint8_t> Peek(std::size_t n) const;

    std::size_t Left() const { return bytes_.size() - position_; }
    std::size_t Consumed() const { return position_; }
    bool AtEnd() const { return Left() == 0; }
    // Makes the cursor read as exhausted.
    void Clear() { bytes_ = {}, position_ = 0; }

  private:
    [[noreturn]] void Fail(std::size_t wanted) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    const char* what_ = "bytes";
};

}  // namespace velmora
