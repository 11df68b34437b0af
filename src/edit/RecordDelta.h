#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "edit/FrameRun.h"
#include "tags/record/RecordState.h"

namespace velmora {

class Mp3File;

namespace edit {

// What one action changed in one record, and nothing else: the run of frames between the
// frames it left alone at the front and at the back (before and after, with their modified
// flags), the frame list's changed flag, and the ID3v1 tag, pending name and removal marks
// only when they changed. An action over a whole library keeps one frame or two a record.
class RecordDelta {
  public:
    // The difference between `before` and what `record` holds now; nothing when none.
    static std::optional<RecordDelta> Between(RecordState before, Mp3File& record);

    Mp3File* Record() const { return record_; }
    // Whether the record still holds what the action left (`after`) or found, in the parts
    // the action touched: a record changed there behind the journal's back does not.
    bool Holds(bool after) const;
    // Puts that side into the record; it must hold the other one.
    void PutBack(bool after) const;
    std::size_t MemoryBytes() const;

  private:
    struct Rest {
        Id3v1Tag v1;
        std::u16string name;
        bool removeV1 = false;
        bool removeV2 = false;
    };
    // Both sides' rest or neither, in one block.
    struct Rests {
        Rest before;
        Rest after;
    };

    const FrameRun& FramesOf(bool after) const { return after ? after_ : before_; }
    const Rest* RestOf(bool after) const {
        return rests_ ? (after ? &rests_->after : &rests_->before) : nullptr;
    }

    // One entry is kept for each record an action changed, so its size counts that often.
    Mp3File* record_ = nullptr;
    std::uint32_t front_ = 0;
    std::uint32_t back_ = 0;
    FrameRun before_;
    FrameRun after_;
    std::unique_ptr<const Rests> rests_;
    bool listChangedBefore_ = false;
    bool listChangedAfter_ = false;
};

}  // namespace edit
}  // namespace velmora
