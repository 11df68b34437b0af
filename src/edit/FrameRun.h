#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "tags/id3v2/Id3v2Frame.h"

namespace velmora::edit {

// Frames owned in order, as one side of a journal entry keeps them. An action over a whole
// library changes one frame a record, so a single frame is held without a list of its own:
// at 100,000 records a list's heap block costs more than the frame's pointer.
class FrameRun {
  public:
    FrameRun() = default;
    explicit FrameRun(std::vector<std::unique_ptr<const Id3v2Frame>> frames);

    std::size_t Size() const { return size_; }
    const Id3v2Frame& At(std::size_t index) const { return size_ == 1 ? *one_ : *many_[index]; }
    // The frames and the list of them, beyond this object.
    std::size_t MemoryBytes() const;

  private:
    std::unique_ptr<const Id3v2Frame> one_;
    std::unique_ptr<std::unique_ptr<const Id3v2Frame>[]> many_;  // two frames or more
    std::uint32_t size_ = 0;
};

}  // namespace velmora::edit
