#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "tags/id3v2/FrameField.h"

namespace velmora {

// The fields of one frame, in order. Most frames are an encoding byte and one text, so the
// first kInline fields live in the frame itself; only longer frames (comments, pictures) need
// a list of their own for the rest. Saves an allocation per frame on every load.
class FieldList {
  public:
    static constexpr std::size_t kInline = 3;

    // Fields are never null, so the count needs no member of its own: a directory of files
    // holds hundreds of thousands of these lists.
    std::size_t Size() const {
        if (overflow_)
            return kInline + overflow_->size();
        return static_cast<std::size_t>(std::count_if(
            inline_.begin(), inline_.end(), [](const auto& field) { return field != nullptr; }));
    }
    FrameField* At(std::size_t index) const {
        if (index < kInline)
            return inline_[index].get();
        if (!overflow_ || index - kInline >= overflow_->size())
            return nullptr;
        return (*overflow_)[index - kInline].get();
    }
    void Reserve(std::size_t count) {
        if (count > kInline)
            Overflow().reserve(count - kInline);
    }
    // `field` must not be null.
    void Push(std::unique_ptr<FrameField> field) {
        for (auto& slot : inline_) {
            if (!slot) {
                slot = std::move(field);
                return;
            }
        }
        Overflow().push_back(std::move(field));
    }
    void RemoveFrom(std::size_t index) {
        if (index < kInline) {
            overflow_.reset();
            for (std::size_t i = index; i < kInline; ++i)
                inline_[i].reset();
        } else if (overflow_ && index - kInline < overflow_->size()) {
            overflow_->resize(index - kInline);
            if (overflow_->empty())
                overflow_.reset();
        }
    }

  private:
    using Overflowed = std::vector<std::unique_ptr<FrameField>>;
    Overflowed& Overflow() {
        if (!overflow_)
            overflow_ = std::make_unique<Overflowed>();
        return *overflow_;
    }

    std::array<std::unique_ptr<FrameField>, kInline> inline_;
    std::unique_ptr<Overflowed> overflow_;  // most frames have no more than kInline fields
};

}  // namespace velmora
