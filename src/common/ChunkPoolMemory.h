#pragma once

#include <cstddef>

namespace velmora::chunk_memory {

// One block of pages from the system, mapped in one piece (throws std::bad_alloc).
void* Map(std::size_t bytes);
// Returns a block from Map to the system.
void Unmap(void* block, std::size_t bytes) noexcept;

}  // namespace velmora::chunk_memory
