#include "tags/id3v2/Id3v2Tag.h"

#include <algorithm>

namespace velmora {

Id3v2Tag::~Id3v2Tag() = default;

Id3v2Frame* FindFrame(const Id3v2Tag& tag, const FrameId& id, const Id3v2Frame* after) {
    const auto& frames = tag.Frames();
    auto it = frames.begin();
    if (after) {
        it = std::find_if(frames.begin(), frames.end(),
                          [after](const auto& frame) { return frame.get() == after; });
        if (it == frames.end())
            return nullptr;
        ++it;
    }
    for (; it != frames.end(); ++it) {
        if ((*it)->Id() == id)
            return it->get();
    }
    return nullptr;
}

FrameField* FindField(const Id3v2Frame& frame, FieldKind kind, const FrameField* after) {
    std::size_t i = 0;
    if (after) {
        while (i < frame.FieldCount() && frame.FieldAt(i) != after)
            ++i;
        if (i == frame.FieldCount())
            return nullptr;
        ++i;
    }
    for (; i < frame.FieldCount(); ++i) {
        if (frame.FieldAt(i)->Kind() == kind)
            return frame.FieldAt(i);
    }
    return nullptr;
}

bool AppendField(Id3v2Frame& frame, std::unique_ptr<FrameField> field) {
    if (!frame.PushField(std::move(field)))
        return false;
    MarkFrame(frame, true);
    return true;
}

Id3v2Frame& AppendFrame(Id3v2Tag& tag, std::unique_ptr<Id3v2Frame> frame) {
    Id3v2Frame& added = *frame;
    tag.MutableFrames().push_back(std::move(frame));
    MarkAll(tag, true);
    return added;
}

void RemoveFrame(Id3v2Tag& tag, const Id3v2Frame* frame) {
    auto& frames = tag.MutableFrames();
    auto it = std::find_if(frames.begin(), frames.end(),
                           [frame](const auto& f) { return f.get() == frame; });
    if (it == frames.end())
        return;
    frames.erase(it);
    tag.SetFrameListChanged(true);
}

void RemoveFirstFrame(Id3v2Tag& tag, const FrameId& id) {
    RemoveFrame(tag, FindFrame(tag, id));
}

void MarkFrame(Id3v2Frame& frame, bool modified) {
    for (std::size_t i = 0; i < frame.FieldCount(); ++i)
        frame.FieldAt(i)->SetModified(modified);
}

void MarkAll(Id3v2Tag& tag, bool modified) {
    for (auto& frame : tag.MutableFrames())
        MarkFrame(*frame, modified);
    tag.SetFrameListChanged(false);
}

bool IsFrameModified(const Id3v2Frame& frame) {
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        if (frame.FieldAt(i)->IsModified())
            return true;
    }
    return false;
}

bool IsTagModified(const Id3v2Tag& tag) {
    if (tag.FrameListChanged())
        return true;
    return std::any_of(tag.Frames().begin(), tag.Frames().end(),
                       [](const auto& frame) { return IsFrameModified(*frame); });
}

}  // namespace velmora
