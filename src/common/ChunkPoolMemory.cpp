#include "common/ChunkPoolMemory.h"

#include <sys/mman.h>

#include <new>

namespace velmora::chunk_memory {

void* Map(std::size_t bytes) {
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        throw std::bad_alloc();
    }
    return block;
}

void Unmap(void* block, std::size_t bytes) noexcept {
    ::munmap(block, bytes);
}

void Populate(void* start, std::size_t bytes) noexcept {
    ::madvise(start, bytes, MADV_POPULATE_WRITE);  // Linux 5.14 and later
}

}  // namespace velmora::chunk_memory
