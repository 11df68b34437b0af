#include "tags/Id3v2Frame.h"

namespace velmora {

Id3v2Frame::Id3v2Frame(FrameId id) : id_(id) {}

Id3v2Frame::~Id3v2Frame() = default;

bool Id3v2Frame::PushField(std::unique_ptr<FrameField> field) {
    if (fields_.size() >= kMaxFields)
        return false;
    fields_.push_back(std::move(field));
    return true;
}

void Id3v2Frame::RemoveFieldsFrom(std::size_t index) {
    if (index < fields_.size())
        fields_.erase(fields_.begin() + static_cast<std::ptrdiff_t>(index), fields_.end());
}

}  // namespace velmora
