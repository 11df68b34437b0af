#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace velmora {

// Why a read from a ByteCursor failed: it wanted more bytes than were left.
struct ShortRead {
    const char* what = "bytes";
    std::size_t wanted = 0;
    std::size_t offset = 0;
    std::size_t size = 0;

    // "reading frame body: wanted 4 bytes at offset 3 of 5"
    std::string Describe() const;
};

// A value read from a ByteCursor, or the ShortRead that stopped it.
template <typename T>
class [[nodiscard]] CursorResult {
  public:
    CursorResult(T value) : value_(std::move(value)) {}
    CursorResult(const ShortRead& failure) : failure_(failure), ok_(false) {}

    explicit operator bool() const { return ok_; }
    const T& operator*() const { return value_; }
    const T* operator->() const { return &value_; }
    const ShortRead& Failure() const { return failure_; }
    std::optional<T> AsOptional() const { return ok_ ? std::optional<T>(value_) : std::nullopt; }

  private:
    T value_{};
    ShortRead failure_;
    bool ok_ = true;
};

// The one bounds-checked view for reading untrusted bytes owned elsewhere. A read that wants
// more than is left fails as a value and changes nothing, so readers go on or stop as they
// choose.
class ByteCursor {
  public:
    using Bytes = std::span<const std::uint8_t>;

    ByteCursor() = default;
    explicit ByteCursor(Bytes bytes, const char* what = "bytes") : bytes_(bytes), what_(what) {}

    // The next n bytes, advancing past them.
    CursorResult<Bytes> Take(std::size_t n) {
        if (n > Left())
            return Short(n);
        auto taken = bytes_.subspan(position_, n);
        position_ += n;
        return taken;
    }
    CursorResult<std::uint8_t> TakeByte() {
        if (AtEnd())
            return Short(1);
        return bytes_[position_++];
    }
    CursorResult<std::uint32_t> TakeBigEndian24() { return TakeNumber(3, &BigEndian); }
    CursorResult<std::uint32_t> TakeBigEndian32() { return TakeNumber(4, &BigEndian); }
    CursorResult<std::uint32_t> TakeLittleEndian32() { return TakeNumber(4, &LittleEndian); }
    // Seven bits from each of four bytes (ID3v2.4 section 6.2); the high bits are ignored.
    CursorResult<std::uint32_t> TakeSynchsafe32() { return TakeNumber(4, &Synchsafe); }
    // Everything left; never fails.
    Bytes TakeRest() {
        auto rest = bytes_.subspan(position_);
        position_ = bytes_.size();
        return rest;
    }

    // The next n bytes without advancing.
    CursorResult<Bytes> Peek(std::size_t n) const {
        if (n > Left())
            return Short(n);
        return bytes_.subspan(position_, n);
    }
    Bytes PeekRest() const { return bytes_.subspan(position_); }
    // Takes the next bytes when they spell `text`; false (and nothing taken) when they do not.
    bool TakeMatching(std::string_view text);

    std::size_t Left() const { return bytes_.size() - position_; }
    std::size_t Consumed() const { return position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }

  private:
    static std::uint32_t BigEndian(Bytes bytes) {
        std::uint32_t value = 0;
        for (std::uint8_t byte : bytes)
            value = (value << 8) | byte;
        return value;
    }
    static std::uint32_t LittleEndian(Bytes bytes) {
        std::uint32_t value = 0;
        for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte)
            value = (value << 8) | *byte;
        return value;
    }
    static std::uint32_t Synchsafe(Bytes bytes) {
        std::uint32_t value = 0;
        for (std::uint8_t byte : bytes)
            value = (value << 7) | (byte & 0x7Fu);
        return value;
    }

    CursorResult<std::uint32_t> TakeNumber(std::size_t width, std::uint32_t (*decode)(Bytes)) {
        auto bytes = Take(width);
        if (!bytes)
            return bytes.Failure();
        return decode(*bytes);
    }
    ShortRead Short(std::size_t wanted) const { return {what_, wanted, position_, bytes_.size()}; }

    Bytes bytes_;
    std::size_t position_ = 0;
    const char* what_ = "bytes";
};

}  // namespace velmora
