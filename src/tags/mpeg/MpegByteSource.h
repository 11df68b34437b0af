#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora {

// The bytes of an audio region, in order. Read fills `into` and returns fewer bytes than asked
// only at the end of the region.
class MpegByteSource {
  public:
    virtual ~MpegByteSource() = default;
    virtual std::size_t Read(std::span<std::uint8_t> into) = 0;
};

// A region held in memory.
class MpegSpanSource final : public MpegByteSource {
  public:
    explicit MpegSpanSource(std::span<const std::uint8_t> bytes) : rest_(bytes) {}

    std::size_t Read(std::span<std::uint8_t> into) override {
        const std::size_t count = std::min(into.size(), rest_.size());
        std::copy_n(rest_.begin(), count, into.begin());
        rest_ = rest_.subspan(count);
        return count;
    }

  private:
    std::span<const std::uint8_t> rest_;
};

}  // namespace velmora
