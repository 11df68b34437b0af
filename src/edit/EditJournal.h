#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <memory_resource>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "edit/RecordDelta.h"

namespace velmora {

class Mp3File;

namespace edit {

// How much the journal keeps; the oldest actions go first.
struct JournalLimits {
    std::size_t maxActions = 100;
    std::size_t maxBytes = std::size_t{256} << 20;
};

// Every change a user makes to records goes through the journal, which keeps of each
// changed record what the action changed there (see RecordDelta), so that Undo and Redo
// put whole actions back exactly (tags with their modified flags, pending name, removal
// marks; a record undone to its loaded state no longer needs saving). Undo never touches
// the disk. The records must outlive their entries: Clear when the records go (load,
// reload), Forget a record when it is saved. A record changed behind the journal's back in
// what an action changed is left alone by Undo and Redo and its entries are dropped.
// Long actions, undos and redos run in steps (Begin/Step/Commit, BeginMove/MoveSome/
// EndMove), so that the window can run them in slices. Used on one thread.
class EditJournal {
  public:
    // Asked when an action outgrows the memory limit: true carries it out without a way
    // back (every older action goes too, so that Undo never skips it), false takes it back.
    using KeepQuestion = std::function<bool()>;

    explicit EditJournal(JournalLimits limits = {}) : limits_(limits) {}
    // Takes effect with the next action kept.
    void SetLimits(JournalLimits limits) { limits_ = limits; }

    // Runs `change`, which may change only these records, and keeps it under `name` as
    // one action. Returns the records it changed, in the order given; an action that changed
    // nothing is not kept. A kept action ends what Redo could bring back.
    std::vector<Mp3File*> Apply(std::u16string name, std::span<Mp3File* const> records,
                                const std::function<void()>& change);
    // The same with a change made to each record in turn.
    std::vector<Mp3File*> ApplyToEach(std::u16string name, std::span<Mp3File* const> records,
                                      const std::function<void(Mp3File&)>& change);

    // An action made part by part: Begin, Step for each part, then Commit (kept as Apply
    // keeps it) or Abandon (every record put back as it was, nothing kept). A record met in
    // an earlier part is left out of a later one. Step returns the records the part changed.
    using PartChange = std::function<void(std::span<Mp3File* const>)>;
    void Begin(std::u16string name);
    std::vector<Mp3File*> Step(std::span<Mp3File* const> part, const PartChange& change);
    std::vector<Mp3File*> Commit();
    void Abandon();
    // Abandon in steps: puts back up to `count` records, newest first, adding them to
    // `putBack`; false once every record is back (the action is then gone).
    bool AbandonSome(std::size_t count, std::vector<Mp3File*>& putBack);
    // The open action, `done` of `total` records in, will not fit the memory limit.
    bool WillOutgrow(std::size_t done, std::size_t total) const;
    void SetKeepQuestion(KeepQuestion ask) { ask_ = std::move(ask); }
    // Actions dropped (the oldest, or what Redo could bring back once a new action is kept)
    // go to `dispose`, which may free them elsewhere; without it they are freed at once.
    using Disposer = std::function<void(std::shared_ptr<void>)>;
    void SetDisposer(Disposer dispose) { dispose_ = std::move(dispose); }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The name of the action Undo or Redo would take back; empty when there is none.
    std::u16string UndoName() const;
    std::u16string RedoName() const;
    // Takes back the newest action, or brings back the one undone last; the records it
    // changed (none when there was nothing to do).
    std::vector<Mp3File*> Undo();
    std::vector<Mp3File*> Redo();
    // The same in steps: BeginMove (false when there is nothing to do), MoveSome until it
    // returns false, then EndMove; AbandonMove puts back the records moved so far (or
    // AbandonMoveSome in steps, as AbandonSome).
    bool BeginMove(bool undo);
    std::size_t MoveSize() const { return moving_.changes.size(); }
    bool MoveSome(std::size_t count);
    // The records moved so far, in the order moved.
    std::span<Mp3File* const> MovedSoFar() const { return movedRecords_; }
    std::vector<Mp3File*> EndMove();
    void AbandonMove();
    bool AbandonMoveSome(std::size_t count, std::vector<Mp3File*>& putBack);

    // The names of the actions Undo could take back that changed a record `chosen` picks,
    // oldest first, each once: what a save of those records writes, in the user's words.
    std::vector<std::u16string> ActionNames(
        const std::function<bool(const Mp3File&)>& chosen) const;

    // The records are about to go: everything is dropped.
    void Clear();
    // The same, handing the dropped actions to the caller, who destroys them where it costs
    // the user nothing: an action over a whole library takes a while to free.
    std::shared_ptr<void> TakeAll();
    // The record is saved (or about to be): its entries are dropped, and actions left
    // with no record go.
    void Forget(const Mp3File& record);
    void Forget(const std::unordered_set<const Mp3File*>& records);

    std::size_t ActionCount() const { return undo_.size() + redo_.size(); }
    std::size_t MemoryBytes() const { return bytes_; }

  private:
    struct Action {
        std::u16string name;
        std::vector<RecordDelta> changes;
        std::size_t bytes = 0;
    };

    // False when the action was too large and the user chose to take it back.
    bool Keep(Action action);
    void AddChange(RecordState before, Mp3File& record);
    void DropOldest();
    void ForgetSeen();
    template <typename Dropped>
    void Dispose(Dropped dropped);

    JournalLimits limits_;
    KeepQuestion ask_;
    Disposer dispose_;
    std::deque<Action> undo_;
    std::deque<Action> redo_;
    std::size_t bytes_ = 0;
    // The action being made, and the records it has seen. Their set lives in a pool freed at
    // once: freeing 100,000 nodes one by one held the end of a library-wide edit.
    Action open_;
    std::pmr::monotonic_buffer_resource seenPool_;
    std::pmr::unordered_set<const Mp3File*> seen_{&seenPool_};
    // The action being undone or redone, how far, and which way.
    Action moving_;
    std::size_t moved_ = 0;
    bool movingUndo_ = false;
    std::vector<Mp3File*> movedRecords_;
    std::unordered_set<const Mp3File*> stale_;
};

}  // namespace edit
}  // namespace velmora
