#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "tags/FrameField.h"

namespace velmora {

// The fields of one frame, in order. Most frames are an encoding byte and one text, so the
// first kInline fields live in the frame itself; only longer frames (comments, pictures) need
// a list of their own for the rest. Saves an allocation per frame on every load.
class FieldList {
  public:
    static constexpr std::size_t kInline = 3;

    std::size_t Size() const { return size_; }
    FrameField* At(std::size_t index) const {
        if (index >= size_)
            return nullptr;
        return index < kInline ? inline_[index].get() : overflow_[index - kInline].get();
    }
    void Reserve(std::size_t count) {
        if (count > kInline)
            overflow_.reserve(count - kInline);
    }
    void Push(std::unique_ptr<FrameField> field) {
        if (size_ < kInline)
            inline_[size_] = std::move(field);
        else
            overflow_.push_back(std::move(field));
        ++size_;
    }
    // Drops the fields from `index` on.
    void RemoveFrom(std::size_t index) {
        if (index >= size_)
            return;
        if (index < kInline) {
            overflow_.clear();
            for (std::size_t i = index; i < kInline; ++i)
                inline_[i].reset();
        } else {
            overflow_.resize(index - kInline);
        }
        size_ = index;
    }

  private:
    std::array<std::unique_ptr<FrameField>, kInline> inline_;
    std::vector<std::unique_ptr<FrameField>> overflow_;
    std::size_t size_ = 0;
};

}  // namespace velmora
