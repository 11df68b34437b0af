#include "edit/FrameRun.h"

#include <utility>

#include "tags/record/RecordState.h"

namespace velmora::edit {

FrameRun::FrameRun(std::vector<std::unique_ptr<const Id3v2Frame>> frames)
    : size_(std::uint32_t(frames.size())) {
    if (size_ == 1) {
        one_ = std::move(frames.front());
        return;
    }
    if (size_ == 0)
        return;
    many_ = std::make_unique<std::unique_ptr<const Id3v2Frame>[]>(size_);
    for (std::size_t i = 0; i < size_; ++i)
        many_[i] = std::move(frames[i]);
}

std::size_t FrameRun::MemoryBytes() const {
    std::size_t bytes = size_ > 1 ? size_ * sizeof(many_[0]) : 0;
    for (std::size_t i = 0; i < size_; ++i)
        bytes += FrameMemory(At(i));
    return bytes;
}

}  // namespace velmora::edit
