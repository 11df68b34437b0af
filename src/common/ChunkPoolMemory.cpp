#include "common/ChunkPoolMemory.h"

#include <sys/mman.h>

#include <new>

namespace velmora::chunk_memory {

// Populated at once: a chunk is mapped when the one before it is full, so its slots are about
// to be used, and one populating call costs far less than a page fault per page.
void* Map(std::size_t bytes) {
    void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (block == MAP_FAILED) {
        throw std::bad_alloc();
    }
    return block;
}

void Unmap(void* block, std::size_t bytes) noexcept {
    ::munmap(block, bytes);
}

}  // namespace velmora::chunk_memory
