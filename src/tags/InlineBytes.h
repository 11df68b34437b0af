#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
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
        std::uint8_t* const old = IsInline() ? nullptr : storage_.heap;
        if (bytes.size() <= kInlineCapacity) {
            // memmove: the bytes may overlap the inline storage; heap bytes stay alive below.
            if (!bytes.empty())
                std::memmove(storage_.inlined.data(), bytes.data(), bytes.size());
        } else {
            auto* memory = new std::uint8_t[bytes.size()];
            std::copy(bytes.begin(), bytes.end(), memory);
            storage_.heap = memory;
        }
        delete[] old;
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
