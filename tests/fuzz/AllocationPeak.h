#pragma once

#include <cstddef>

namespace velmora::fuzz {

// The most memory held through operator new above what was held when the object was made.
// Counts only in the executable that links AllocationCounter.cpp (the replay test), which
// replaces the global operator new and delete.
class AllocationPeak {
  public:
    AllocationPeak();
    std::size_t Bytes() const;

  private:
    std::size_t base_;
};

}  // namespace velmora::fuzz
