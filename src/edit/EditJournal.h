#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "tags/record/RecordState.h"

namespace velmora {

class Mp3File;

namespace edit {

// How much the journal keeps; the oldest actions go first.
struct JournalLimits {
    std::size_t maxActions = 100;
    std::size_t maxBytes = std::size_t{256} << 20;
};

// Every change a user makes to records goes through Apply, which keeps each changed
// record's state before and after, so that Undo and Redo put whole actions back exactly
// (tags with their modified flags, pending name, removal marks; a record undone to its
// loaded state no longer needs saving). Undo never touches the disk. The records must
// outlive their entries: Clear when the records go (load, reload), Forget a record when it
// is saved. A record changed behind the journal's back is left alone by Undo and Redo and
// its entries are dropped. Used on one thread.
class EditJournal {
  public:
    explicit EditJournal(JournalLimits limits = {}) : limits_(limits) {}

    // Runs `change`, which may change only these records, and keeps it under `name` as
    // one action. Returns the records it changed, in the order given; an action that changed
    // nothing is not kept. A kept action ends what Redo could bring back. An action larger
    // than the whole memory limit is carried out but cannot be undone.
    std::vector<Mp3File*> Apply(std::u16string name, std::span<Mp3File* const> records,
                                const std::function<void()>& change);
    // The same with a change made to each record in turn.
    std::vector<Mp3File*> ApplyToEach(std::u16string name, std::span<Mp3File* const> records,
                                      const std::function<void(Mp3File&)>& change);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The name of the action Undo or Redo would take back; empty when there is none.
    std::u16string UndoName() const;
    std::u16string RedoName() const;
    // Takes back the newest action, or brings back the one undone last; the records it
    // changed (none when there was nothing to do).
    std::vector<Mp3File*> Undo() { return Move(true); }
    std::vector<Mp3File*> Redo() { return Move(false); }

    // The names of the actions Undo could take back that changed a record `chosen` picks,
    // oldest first, each once: what a save of those records writes, in the user's words.
    std::vector<std::u16string> ActionNames(
        const std::function<bool(const Mp3File&)>& chosen) const;

    // The records are about to go: everything is dropped.
    void Clear();
    // The same, handing the dropped actions to the caller, who destroys them where it costs
    // the user nothing: the states of an action over a whole library take a while to free.
    std::shared_ptr<void> TakeAll();
    // The record is saved (or about to be): its entries are dropped, and actions left
    // with no record go.
    void Forget(const Mp3File& record);

    std::size_t ActionCount() const { return undo_.size() + redo_.size(); }
    std::size_t MemoryBytes() const { return bytes_; }

  private:
    struct RecordChange {
        Mp3File* record;
        RecordState before;
        RecordState after;
        std::size_t bytes;
    };
    struct Action {
        std::u16string name;
        std::vector<RecordChange> changes;
        std::size_t Bytes() const;
    };

    // Moves the newest action of one stack to the other, putting each of its records into
    // the state before (undo) or after it; a record that no longer holds the state the
    // action left is not touched and is forgotten.
    std::vector<Mp3File*> Move(bool undo);
    void DropOldest();

    JournalLimits limits_;
    std::deque<Action> undo_;
    std::deque<Action> redo_;
    std::size_t bytes_ = 0;
};

}  // namespace edit
}  // namespace velmora
