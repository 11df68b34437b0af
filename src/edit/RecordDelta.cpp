#include "edit/RecordDelta.h"

#include <algorithm>
#include <utility>

#include "tags/record/Mp3File.h"

namespace velmora::edit {

std::optional<RecordDelta> RecordDelta::Between(RecordState before, Mp3File& record) {
    const FrameList& now = record.V2().Frames();
    const std::size_t shorter = std::min(before.frames.size(), now.size());
    std::size_t front = 0;
    while (front < shorter && SameFrame(*before.frames[front], *now[front]))
        ++front;
    std::size_t back = 0;
    while (front + back < shorter &&
           SameFrame(*before.frames[before.frames.size() - 1 - back], *now[now.size() - 1 - back]))
        ++back;
    const bool sameRest = SameV1(before.v1, record.V1()) && before.name == record.Name() &&
                          before.removeV1Pending == record.RemoveV1Pending() &&
                          before.removeV2Pending == record.RemoveV2Pending();
    const bool sameFrames = front == before.frames.size() && front == now.size() &&
                            before.frameListChanged == record.V2().FrameListChanged();
    if (sameRest && sameFrames)
        return std::nullopt;

    RecordDelta delta;
    delta.record_ = &record;
    delta.front_ = std::uint32_t(front);
    delta.back_ = std::uint32_t(back);
    delta.before_.frames.assign(std::make_move_iterator(before.frames.begin() + long(front)),
                                std::make_move_iterator(before.frames.end() - long(back)));
    for (std::size_t i = front; i + back < now.size(); ++i)
        delta.after_.frames.push_back(CloneFrame(*now[i]));
    delta.listChangedBefore_ = before.frameListChanged;
    delta.listChangedAfter_ = record.V2().FrameListChanged();
    if (!sameRest) {
        delta.before_.rest =
            std::make_unique<const Rest>(Rest{std::move(before.v1), std::move(before.name),
                                              before.removeV1Pending, before.removeV2Pending});
        delta.after_.rest = std::make_unique<const Rest>(
            Rest{record.V1(), record.Name(), record.RemoveV1Pending(), record.RemoveV2Pending()});
    }
    return delta;
}

bool RecordDelta::Holds(bool after) const {
    const Side& side = Of(after);
    const FrameList& now = record_->V2().Frames();
    if (now.size() != front_ + side.frames.size() + back_ ||
        record_->V2().FrameListChanged() != (after ? listChangedAfter_ : listChangedBefore_))
        return false;
    for (std::size_t i = 0; i < side.frames.size(); ++i) {
        if (!SameFrame(*side.frames[i], *now[front_ + i]))
            return false;
    }
    const Rest* rest = side.rest.get();
    return rest == nullptr || (SameV1(rest->v1, record_->V1()) && rest->name == record_->Name() &&
                               rest->removeV1 == record_->RemoveV1Pending() &&
                               rest->removeV2 == record_->RemoveV2Pending());
}

void RecordDelta::PutBack(bool after) const {
    const Side& side = Of(after);
    const Side& other = Of(!after);
    FrameList& frames = record_->V2().MutableFrames();
    const auto first = frames.begin() + long(front_);
    frames.erase(first, first + long(other.frames.size()));
    std::vector<std::unique_ptr<Id3v2Frame>> copies;
    copies.reserve(side.frames.size());
    for (const auto& frame : side.frames)
        copies.push_back(CloneFrame(*frame));
    frames.insert(frames.begin() + long(front_), std::make_move_iterator(copies.begin()),
                  std::make_move_iterator(copies.end()));
    record_->V2().SetFrameListChanged(after ? listChangedAfter_ : listChangedBefore_);
    if (const Rest* rest = side.rest.get()) {
        record_->V1() = rest->v1;
        record_->RestorePending(rest->name, rest->removeV1, rest->removeV2);
    }
}

std::size_t RecordDelta::MemoryBytes() const {
    std::size_t bytes = sizeof(RecordDelta);
    for (const Side* side : {&before_, &after_}) {
        for (const auto& frame : side->frames)
            bytes += sizeof(frame) + FrameMemory(*frame);
        if (side->rest)
            bytes += sizeof(Rest) + side->rest->name.size() * sizeof(char16_t);
    }
    return bytes;
}

}  // namespace velmora::edit
