#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Replaces the global operator new and delete of the replay test, which bounds the memory held
// through them. The array forms call these (under ASan, they stay its own pair).
namespace {

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> peak{0};

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    void* block = std::malloc(size == 0 ? 1 : size);
    const std::size_t now = held += malloc_usable_size(block);
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return block;
}
void* operator new(std::size_t size) {
    void* block = operator new(size, std::nothrow);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept {
    held -= malloc_usable_size(block);
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    operator delete(block);
}

namespace velmora::fuzz {

// Starts a new peak at what is held now; AllocationPeakBytes() is the most held above it since.
std::size_t StartAllocationPeak() {
    return peak = held.load();
}

std::size_t AllocationPeakBytes(std::size_t start) {
    return peak.load() - start;
}

}  // namespace velmora::fuzz
