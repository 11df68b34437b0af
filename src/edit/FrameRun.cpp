#include "edit/FrameRun.h"

#include <utility>

#include "tags/record/RecordState.h"

namespace velmora::edit {

FrameRun::FrameRun(std::vector<std::unique_ptr<const Id3v2Frame>> frames)
    : size_(std::uint32_t(frames.size())) {
    if (size_ == 1) {
        one_ = frames.front().release();
        return;
    }
    if (size_ == 0)
        return;
    many_ = new const Id3v2Frame*[size_];
    for (std::size_t i = 0; i < size_; ++i)
        many_[i] = frames[i].release();
}

FrameRun::FrameRun(FrameRun&& other) noexcept {
    Take(other);
}

FrameRun& FrameRun::operator=(FrameRun&& other) noexcept {
    if (this != &other) {
        Free();
        Take(other);
    }
    return *this;
}

std::size_t FrameRun::MemoryBytes() const {
    std::size_t bytes = size_ > 1 ? size_ * sizeof(*many_) : 0;
    for (std::size_t i = 0; i < size_; ++i)
        bytes += FrameMemory(At(i));
    return bytes;
}

void FrameRun::Take(FrameRun& other) noexcept {
    if (other.size_ == 1)
        one_ = std::exchange(other.one_, nullptr);
    else if (other.size_ > 1)
        many_ = std::exchange(other.many_, nullptr);
    size_ = std::exchange(other.size_, 0);
}

void FrameRun::Free() noexcept {
    if (size_ == 1) {
        delete one_;
    } else if (size_ > 1) {
        for (std::size_t i = 0; i < size_; ++i)
            delete many_[i];
        delete[] many_;
    }
    one_ = nullptr;
    size_ = 0;
}

}  // namespace velmora::edit
