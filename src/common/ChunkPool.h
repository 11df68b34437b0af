#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "common/ChunkPoolMemory.h"
#include "common/SpinLock.h"

namespace velmora {

// Memory for many objects of one class, in chunks of SlotsPerChunk slots. A chunk is mapped
// from the system in one piece when it is created. When its last slot is freed, one emptied
// chunk is kept for the next that is needed (a command handling files one at a time would
// otherwise map and unmap a chunk per file) and any other is returned at once, so a directory
// of files that is unloaded gives its memory back. Allocation takes the first free slot of the
// current chunk; a full current chunk is followed by the kept one or a new one. Thread-safe.
template <typename T, std::size_t SlotsPerChunk>
class ChunkPool {
  public:
    static_assert(SlotsPerChunk > 0);
    // Page-aligned chunks keep every slot aligned for T.
    static_assert(alignof(T) <= 4096);
    static constexpr std::size_t kSlotSize = sizeof(T);
    static constexpr std::size_t kChunkBytes = kSlotSize * SlotsPerChunk;

    ChunkPool() = default;
    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;

    // Uninitialised memory for one T.
    void* Allocate() {
        std::lock_guard lock(lock_);
        if (current_ == nullptr || current_->count == SlotsPerChunk) {
            chunks_.push_back(spare_ ? std::move(spare_) : std::make_unique<Chunk>());
            current_ = chunks_.back().get();
        }
        return current_->Take();
    }

    // Frees a slot of this pool; false (and nothing done) when `slot` is not from this pool.
    bool TryFree(void* slot) noexcept {
        std::unique_ptr<Chunk> emptied;  // unmapped after the lock is released
        {
            std::lock_guard lock(lock_);
            // Newest chunks first: an object short-lived beside a whole library (a copy an
            // edit takes and drops) lies in the last one, and a teardown frees every chunk
            // alike whichever end the search starts from.
            const auto last = std::find_if(chunks_.rbegin(), chunks_.rend(),
                                           [&](const auto& chunk) { return chunk->Holds(slot); });
            if (last == chunks_.rend()) {
                return false;
            }
            const auto found = std::prev(last.base());
            Chunk& chunk = **found;
            chunk.Release(slot);
            if (chunk.count == 0) {
                if (current_ == &chunk) {
                    current_ = nullptr;
                }
                (spare_ ? emptied : spare_) = std::move(*found);
                chunks_.erase(found);
            }
        }
        return true;
    }

    // Chunks holding objects; the one kept empty is not counted.
    std::size_t ChunkCount() const {
        std::lock_guard lock(lock_);
        return chunks_.size();
    }

    std::size_t UsedCount() const {
        std::lock_guard lock(lock_);
        std::size_t used = 0;
        for (const auto& chunk : chunks_) {
            used += chunk->count;
        }
        return used;
    }

  private:
    struct Chunk {
        std::byte* memory = static_cast<std::byte*>(chunk_memory::Map(kChunkBytes));
        std::vector<unsigned char> used = std::vector<unsigned char>(SlotsPerChunk, 0);
        std::size_t count = 0;
        // No slot below this one is free.
        std::size_t firstFree = 0;
        // Bytes from the start whose pages were populated ahead of use.
        std::size_t populated = 0;

        Chunk() = default;
        ~Chunk() { chunk_memory::Unmap(memory, kChunkBytes); }
        Chunk(const Chunk&) = delete;
        Chunk& operator=(const Chunk&) = delete;

        bool Holds(const void* slot) const {
            const auto address = reinterpret_cast<std::uintptr_t>(slot);
            const auto start = reinterpret_cast<std::uintptr_t>(memory);
            return address >= start && address < start + kChunkBytes;
        }

        void* Take() {
            while (used[firstFree] != 0) {
                ++firstFree;
            }
            used[firstFree] = 1;
            ++count;
            const std::size_t end = (firstFree + 1) * kSlotSize;
            if (end > populated) {
                const std::size_t step =
                    std::min(chunk_memory::kPopulateStep, kChunkBytes - populated);
                chunk_memory::Populate(memory + populated, step);
                populated += step;
            }
            return memory + firstFree * kSlotSize;
        }

        void Release(const void* slot) {
            const auto offset =
                reinterpret_cast<std::uintptr_t>(slot) - reinterpret_cast<std::uintptr_t>(memory);
            const std::size_t index = offset / kSlotSize;
            // Freeing a slot twice, or a pointer into the middle of one, corrupts the pool;
            // stop here, as the general heap does.
            if (offset % kSlotSize != 0 || used[index] == 0) {
                std::abort();
            }
            used[index] = 0;
            --count;
            firstFree = std::min(firstFree, index);
        }
    };

    // Held for a few instructions at a time (now and then for a call to the system for more
    // pages; chunks are unmapped outside it), by the loading thread nearly always alone: a
    // mutex would cost more than the work it guards.
    mutable SpinLock lock_;
    std::vector<std::unique_ptr<Chunk>> chunks_;
    Chunk* current_ = nullptr;
    // An emptied chunk, its pages still populated, for the next chunk needed.
    std::unique_ptr<Chunk> spare_;
};

}  // namespace velmora
