#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace velmora {

// Hands out elements that a growing vector leaves unset instead of zero-filling them: for
// buffers that are read into, where the filling costs as much as the reading (and touches
// memory that nothing else would). Size such a buffer once: the standard library moves the
// bytes of one that outgrows its room one at a time, and inserts into it likewise.
template <class T>
class UnsetAllocator : public std::allocator<T> {
  public:
    template <class U>
    struct rebind {
        using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <class U>
    UnsetAllocator(const UnsetAllocator<U>& /*other*/) noexcept {}

    template <class U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        std::construct_at(at, std::forward<Args>(args)...);
    }
};

using UnsetBytes = std::vector<std::uint8_t, UnsetAllocator<std::uint8_t>>;

}  // namespace velmora
