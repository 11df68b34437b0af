#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace velmora {

// A byte buffer that only grows, so reading many similar tags allocates almost nothing.
// The contents of a request are valid until the next request.
class ScratchBuffer {
  public:
    std::span<std::uint8_t> Request(std::size_t n) {
        if (n > capacity_) {
            memory_.reset();
            memory_ = std::make_unique_for_overwrite<std::uint8_t[]>(2 * n);
            capacity_ = 2 * n;
        }
        return {memory_.get(), n};
    }
    std::size_t Capacity() const { return capacity_; }

  private:
    std::unique_ptr<std::uint8_t[]> memory_;
    std::size_t capacity_ = 0;
};

}  // namespace velmora
