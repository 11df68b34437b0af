#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <stdexcept>

namespace velmora {

// The bytes of a frame field. Nearly all fields hold a few bytes (an encoding byte, a
// language code, a MIME type), and a directory of files holds tens of thousands of them, so up
// to kInlineCapacity bytes live in the object itself; only longer ones (pictures, URLs, bodies
// kept raw) take memory of their own.
class InlineBytes {
  public:
    static constexpr std::size_t kInlineCapacity = 16;

    InlineBytes() noexcept = default;
    explicit InlineBytes(std::span<const std::uint8_t> bytes) { Assign(bytes); }
    ~InlineBytes() { Release(); }
    InlineBytes(const InlineBytes&) = delete;
    InlineBytes& operator=(const InlineBytes&) = delete;

    // `bytes` may lie in this object's own storage.
    void Assign(std::span<const std::uint8_t> bytes) {
        if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("a field's bytes are limited to 4 GiB");  // a tag holds 256 MiB
        std::uint8_t* const old = IsInline() ? nullptr : Heap();
        if (bytes.size() <= kInlineCapacity) {
            // memmove: the bytes may overlap the inline storage; heap bytes stay alive below.
            if (!bytes.empty())
                std::memmove(storage_.data(), bytes.data(), bytes.size());
        } else {
            auto* memory = new std::uint8_t[bytes.size()];
            std::copy(bytes.begin(), bytes.end(), memory);
            std::memcpy(storage_.data(), &memory, sizeof memory);
        }
        delete[] old;
        size_ = static_cast<std::uint32_t>(bytes.size());
    }

    std::span<const std::uint8_t> Span() const {
        return {IsInline() ? storage_.data() : Heap(), size_};
    }
    std::size_t Size() const { return size_; }

  private:
    bool IsInline() const { return size_ <= kInlineCapacity; }
    std::uint8_t* Heap() const {
        std::uint8_t* memory;
        std::memcpy(&memory, storage_.data(), sizeof memory);
        return memory;
    }
    void Release() {
        if (!IsInline())
            delete[] Heap();
        size_ = 0;
    }

    // The inline bytes, or the heap pointer's bytes: no pointer member, so the object aligns
    // to 4 and a field's kind and flags fit beside it in the field's 32 bytes.
    alignas(std::uint32_t) std::array<std::uint8_t, kInlineCapacity> storage_{};
    std::uint32_t size_ = 0;
};

}  // namespace velmora
