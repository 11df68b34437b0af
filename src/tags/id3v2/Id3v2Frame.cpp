#include "tags/id3v2/Id3v2Frame.h"

namespace velmora {

Id3v2Frame::Id3v2Frame(FrameId id) : id_(id) {}

Id3v2Frame::~Id3v2Frame() = default;

Id3v2Frame::FrameExtras& Id3v2Frame::Extras() {
    if (!extras_)
        extras_ = std::make_unique<FrameExtras>();
    return *extras_;
}

const StoredBodyForm& Id3v2Frame::BodyForm() const {
    static const StoredBodyForm kPlain;
    return extras_ ? extras_->bodyForm : kPlain;
}

void Id3v2Frame::SetBodyForm(const StoredBodyForm& form) {
    if (extras_ || form != StoredBodyForm{})
        Extras().bodyForm = form;
}

const std::optional<std::uint8_t>& Id3v2Frame::GroupId() const {
    static const std::optional<std::uint8_t> kNone;
    return extras_ ? extras_->groupId : kNone;
}

void Id3v2Frame::SetGroupId(std::optional<std::uint8_t> groupId) {
    if (extras_ || groupId)
        Extras().groupId = groupId;
}

bool Id3v2Frame::PushField(std::unique_ptr<FrameField> field) {
    if (!field || fields_.Size() >= kMaxFields)
        return false;
    fields_.Push(std::move(field));
    return true;
}

}  // namespace velmora
