#pragma once

#include <cstddef>
#include <new>

#include "common/ChunkPool.h"

namespace velmora {

// Gives a class its own operator new and delete from a ChunkPool of its own:
//   class TextField : public ChunkPoolAllocated<TextField, 16384> { ... };
// A further-derived class of another size gets the general heap. The pool is created on
// first use and deliberately never destroyed, so objects freed during program exit still
// find it; it is per class by nature of class-specific allocation, not a shared service.
template <typename Derived, std::size_t SlotsPerChunk>
class ChunkPoolAllocated {
  public:
    using Pool = ChunkPool<Derived, SlotsPerChunk>;

    static void* operator new(std::size_t size) {
        if (size != sizeof(Derived)) {
            return ::operator new(size);
        }
        return ClassPool().Allocate();
    }

    static void operator delete(void* object) noexcept {
        if (object != nullptr && !ClassPool().TryFree(object)) {
            ::operator delete(object);
        }
    }

    static Pool& ClassPool() {
        static Pool* const pool = new Pool();
        return *pool;
    }

  protected:
    ChunkPoolAllocated() = default;
    ~ChunkPoolAllocated() = default;
};

}  // namespace velmora
