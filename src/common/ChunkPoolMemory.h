#pragma once

#include <cstddef>

namespace velmora::chunk_memory {

// One block of pages from the system, mapped in one piece (throws std::bad_alloc).
void* Map(std::size_t bytes);
// Returns a block from Map to the system.
void Unmap(void* block, std::size_t bytes) noexcept;
// Asks for the pages of part of a block at once, which costs far less than a page fault per
// page; a system that cannot do it faults them in as they are touched.
void Populate(void* start, std::size_t bytes) noexcept;

// How far ahead of the slots in use a chunk has its pages populated.
inline constexpr std::size_t kPopulateStep = 64 * 1024;

}  // namespace velmora::chunk_memory
