#include "tags/record/RecordState.h"

#include <stdexcept>
#include <typeinfo>

#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/record/Mp3File.h"

namespace velmora {
namespace {

// What a field holds beyond its object: bytes too long to keep inline and texts.
std::size_t FieldMemory(const FrameField& field) {
    std::size_t bytes = sizeof(TextField) + field.Bytes().size();
    if (const auto* text = dynamic_cast<const TextField*>(&field))
        bytes += text->Text().size() * sizeof(char16_t);
    if (const auto* later = dynamic_cast<const LaterValuesField*>(&field)) {
        for (const std::u16string& value : later->Values())
            bytes += sizeof(value) + value.size() * sizeof(char16_t);
    }
    return bytes;
}

bool SameKeptBody(const BodyAsRead* a, const BodyAsRead* b) {
    if (a == nullptr || b == nullptr)
        return a == b;
    return a->asRead == b->asRead && a->asWritten == b->asWritten;
}

}  // namespace

std::size_t FrameMemory(const Id3v2Frame& frame) {
    std::size_t bytes = sizeof(Id3v2Frame);
    if (const BodyAsRead* kept = frame.KeptBody())
        bytes += sizeof(*kept) + kept->asRead.size() + kept->asWritten.size();
    for (std::size_t i = 0; i < frame.FieldCount(); ++i)
        bytes += FieldMemory(*frame.FieldAt(i));
    return bytes;
}

bool SameV1(const Id3v1Tag& a, const Id3v1Tag& b) {
    for (std::size_t i = 0; i < Id3v1Tag::kTextCount; ++i) {
        if (a.Text(i) != b.Text(i))
            return false;
    }
    return a.Track() == b.Track() && a.Genre() == b.Genre() && a.IsModified() == b.IsModified();
}

std::unique_ptr<Id3v2Frame> CloneFrame(const Id3v2Frame& frame) {
    auto copy = std::make_unique<Id3v2Frame>(frame.Id());
    copy->SetBodyForm(frame.BodyForm());
    copy->SetGroupId(frame.GroupId());
    if (const BodyAsRead* kept = frame.KeptBody())
        copy->KeepBody(*kept);
    copy->ReserveFields(frame.FieldCount());
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        const FrameField& field = *frame.FieldAt(i);
        std::unique_ptr<FrameField> clone = field.Clone();
        // A field type without its own Clone would come back as a plain field.
        const FrameField& cloned = *clone;
        if (typeid(cloned) != typeid(field))
            throw std::logic_error("frame field type cannot be copied");
        copy->PushField(std::move(clone));
    }
    return copy;
}

bool SameFrame(const Id3v2Frame& a, const Id3v2Frame& b) {
    if (a.Id() != b.Id() || a.FieldCount() != b.FieldCount() || a.GroupId() != b.GroupId() ||
        a.BodyForm() != b.BodyForm() || !SameKeptBody(a.KeptBody(), b.KeptBody()))
        return false;
    for (std::size_t i = 0; i < a.FieldCount(); ++i) {
        if (!a.FieldAt(i)->SameState(*b.FieldAt(i)))
            return false;
    }
    return true;
}

RecordState RecordState::Capture(const Mp3File& record) {
    RecordState state;
    state.frames.reserve(record.V2().Frames().size());
    for (const auto& frame : record.V2().Frames())
        state.frames.push_back(CloneFrame(*frame));
    state.frameListChanged = record.V2().FrameListChanged();
    state.v1 = record.V1();
    state.name = record.Name();
    state.removeV1Pending = record.RemoveV1Pending();
    state.removeV2Pending = record.RemoveV2Pending();
    return state;
}

void RecordState::RestoreTo(Mp3File& record) const {
    FrameList restored;
    restored.reserve(frames.size());
    for (const auto& frame : frames)
        restored.push_back(CloneFrame(*frame));
    record.V2().MutableFrames() = std::move(restored);
    record.V2().SetFrameListChanged(frameListChanged);
    record.V1() = v1;
    record.RestorePending(name, removeV1Pending, removeV2Pending);
}

bool RecordState::Matches(const Mp3File& record) const {
    if (record.V2().Frames().size() != frames.size() ||
        record.V2().FrameListChanged() != frameListChanged || record.Name() != name ||
        record.RemoveV1Pending() != removeV1Pending ||
        record.RemoveV2Pending() != removeV2Pending || !SameV1(record.V1(), v1))
        return false;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!SameFrame(*record.V2().Frames()[i], *frames[i]))
            return false;
    }
    return true;
}

}  // namespace velmora
