#pragma once

#include <memory>
#include <vector>

#include "tags/id3v2/FrameField.h"
#include "tags/id3v2/FrameId.h"
#include "tags/id3v2/Id3v2Frame.h"

namespace velmora {

using FrameList = std::vector<std::unique_ptr<Id3v2Frame>>;

// The in-memory ID3v2 tag: frames in file order (new ones at the end) and whether a frame
// was removed since the flags were last set or cleared together.
class Id3v2Tag final {
  public:
    Id3v2Tag() = default;
    ~Id3v2Tag();
    Id3v2Tag(const Id3v2Tag&) = delete;
    Id3v2Tag& operator=(const Id3v2Tag&) = delete;

    const FrameList& Frames() const { return frames_; }
    FrameList& MutableFrames() { return frames_; }
    bool FrameListChanged() const { return frameListChanged_; }
    void SetFrameListChanged(bool changed) { frameListChanged_ = changed; }

  private:
    FrameList frames_;
    bool frameListChanged_ = false;
};

// The frame-list operations.

// The first frame with the ID after `after` (from the start when null), or null.
Id3v2Frame* FindFrame(const Id3v2Tag& tag, const FrameId& id, const Id3v2Frame* after = nullptr);
// The first field of the kind after `after` (from the start when null), or null.
FrameField* FindField(const Id3v2Frame& frame, FieldKind kind, const FrameField* after = nullptr);
// Puts the field at the end and marks every field of the frame modified. Returns false (and
// drops the field) when the frame holds kMaxFields fields already.
bool AppendField(Id3v2Frame& frame, std::unique_ptr<FrameField> field);
// Appends the frame, marks every field of every frame modified, clears frameListChanged.
Id3v2Frame& AppendFrame(Id3v2Tag& tag, std::unique_ptr<Id3v2Frame> frame);
// Takes the frame out of the list, destroys it and sets frameListChanged; a frame not in the
// list changes nothing.
void RemoveFrame(Id3v2Tag& tag, const Id3v2Frame* frame);
void RemoveFirstFrame(Id3v2Tag& tag, const FrameId& id);
// Sets or clears every field's modified flag, then clears frameListChanged.
void MarkAll(Id3v2Tag& tag, bool modified);
void MarkFrame(Id3v2Frame& frame, bool modified);
bool IsFrameModified(const Id3v2Frame& frame);
// Some frame modified, or a frame removed.
bool IsTagModified(const Id3v2Tag& tag);

}  // namespace velmora
