#include "tags/Id3v2Frame.h"

namespace velmora {

Id3v2Frame::Id3v2Frame(FrameId id) : id_(id) {}

Id3v2Frame::~Id3v2Frame() = default;

bool Id3v2Frame::PushField(std::unique_ptr<FrameField> field) {
    if (!field || fields_.Size() >= kMaxFields)
        return false;
    fields_.Push(std::move(field));
    return true;
}

}  // namespace velmora
