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
    delta.before_ = FrameRun({std::make_move_iterator(before.frames.begin() + long(front)),
                              std::make_move_iterator(before.frames.end() - long(back))});
    std::vector<std::unique_ptr<const Id3v2Frame>> after;
    for (std::size_t i = front; i + back < now.size(); ++i)
        after.push_back(CloneFrame(*now[i]));
    delta.after_ = FrameRun(std::move(after));
    delta.listChangedBefore_ = before.frameListChanged;
    delta.listChangedAfter_ = record.V2().FrameListChanged();
    if (!sameRest) {
        delta.rests_ = std::make_unique<const Rests>(Rests{
            {std::move(before.v1), std::move(before.name), before.removeV1Pending,
             before.removeV2Pending},
            {record.V1(), record.Name(), record.RemoveV1Pending(), record.RemoveV2Pending()}});
    }
    return delta;
}

bool RecordDelta::Holds(bool after) const {
    const FrameRun& side = FramesOf(after);
    const FrameList& now = record_->V2().Frames();
    if (now.size() != front_ + side.Size() + back_ ||
        record_->V2().FrameListChanged() != (after ? listChangedAfter_ : listChangedBefore_))
        return false;
    for (std::size_t i = 0; i < side.Size(); ++i) {
        if (!SameFrame(side.At(i), *now[front_ + i]))
            return false;
    }
    const Rest* rest = RestOf(after);
    return rest == nullptr || (SameV1(rest->v1, record_->V1()) && rest->name == record_->Name() &&
                               rest->removeV1 == record_->RemoveV1Pending() &&
                               rest->removeV2 == record_->RemoveV2Pending());
}

void RecordDelta::PutBack(bool after) const {
    const FrameRun& side = FramesOf(after);
    FrameList& frames = record_->V2().MutableFrames();
    const auto first = frames.begin() + long(front_);
    frames.erase(first, first + long(FramesOf(!after).Size()));
    std::vector<std::unique_ptr<Id3v2Frame>> copies;
    copies.reserve(side.Size());
    for (std::size_t i = 0; i < side.Size(); ++i)
        copies.push_back(CloneFrame(side.At(i)));
    frames.insert(frames.begin() + long(front_), std::make_move_iterator(copies.begin()),
                  std::make_move_iterator(copies.end()));
    record_->V2().SetFrameListChanged(after ? listChangedAfter_ : listChangedBefore_);
    if (const Rest* rest = RestOf(after)) {
        record_->V1() = rest->v1;
        record_->RestorePending(rest->name, rest->removeV1, rest->removeV2);
    }
}

std::size_t RecordDelta::MemoryBytes() const {
    std::size_t bytes = sizeof(RecordDelta) + before_.MemoryBytes() + after_.MemoryBytes();
    if (rests_) {
        bytes += sizeof(Rests);
        for (const Rest* rest : {&rests_->before, &rests_->after})
            bytes += rest->name.size() * sizeof(char16_t) + rest->v1.HeapBytes();
    }
    return bytes;
}

}  // namespace velmora::edit
