#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora {

// The bytes of a frame field. Nearly all fields hold a few bytes (an encoding byte, a
// language code, a MIME type), and a directory of files holds tens of thousands of them, so up
// to kInlineCapacity bytes live in the object itself; only longer ones (pictures, URLs, bodies
// kept raw) take memory of their own.
class InlineBytes {
  public:
    static constexpr std::size_t kInlineCapacity = 16;

    InlineBytes() noexcept : storage_{} {}
    explicit InlineBytes(std::span<const std::uint8_t> bytes) : storage_{} { Assign(bytes); }
    ~InlineBytes() { Release(); }
    InlineBytes(const InlineBytes&) = delete;
    InlineBytes& operator=(const InlineBytes&) = delete;

    // `bytes` may lie in this object's own storage.
    void Assign(std::span<const std::uint8_t> bytes) {
        if (bytes.size() <= kInlineCapacity) {
            std::array<std::uint8_t, kInlineCapacity> copy{};
            std::copy(bytes.begin(), bytes.end(), copy.begin());
            Release();
            std::copy_n(copy.begin(), bytes.size(), storage_.inlined.begin());
        } else {
            auto* memory = new std::uint8_t[bytes.size()];
            std::copy(bytes.begin(), bytes.end(), memory);
            Release();
            storage_.heap = memory;
        }
        size_ = bytes.size();
    }

    std::span<const std::uint8_t> Span() const {
        return {IsInline() ? storage_.inlined.data() : storage_.heap, size_};
    }
    std::size_t Size() const { return size_; }

  private:
    bool IsInline() const { return size_ <= kInlineCapacity; }
    void Release() {
        if (!IsInline())
            delete[] storage_.heap;
        size_ = 0;
    }

    union Storage {
        std::uint8_t* heap;
        std::array<std::uint8_t, kInlineCapacity> inlined;
    } storage_;
    std::size_t size_ = 0;
};

}  // namespace velmora
