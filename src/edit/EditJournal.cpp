#include "edit/EditJournal.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "tags/record/Mp3File.h"

namespace velmora::edit {

std::vector<Mp3File*> EditJournal::Apply(std::u16string name, std::span<Mp3File* const> records,
                                         const std::function<void()>& change) {
    Begin(std::move(name));
    // Kept also when the change fails half way, so what it did can be undone.
    try {
        Step(records, [&](std::span<Mp3File* const>) { change(); });
    } catch (...) {
        Commit();
        throw;
    }
    return Commit();
}

std::vector<Mp3File*> EditJournal::ApplyToEach(std::u16string name,
                                               std::span<Mp3File* const> records,
                                               const std::function<void(Mp3File&)>& change) {
    return Apply(std::move(name), records, [&] {
        for (Mp3File* record : records)
            change(*record);
    });
}

void EditJournal::Begin(std::u16string name) {
    open_ = Action{std::move(name), {}, sizeof(Action)};
    ForgetSeen();
}

void EditJournal::ForgetSeen() {
    // A new set first: the old one's buckets lie in the pool.
    seen_ = std::pmr::unordered_set<const Mp3File*>(&seenPool_);
    seenPool_.release();
}

std::vector<Mp3File*> EditJournal::Step(std::span<Mp3File* const> part, const PartChange& change) {
    std::vector<Mp3File*> fresh;
    std::vector<RecordState> before;
    for (Mp3File* record : part) {
        if (seen_.insert(record).second) {
            fresh.push_back(record);
            before.push_back(RecordState::Capture(*record));
        }
    }
    const std::size_t kept = open_.changes.size();
    auto keep = [&] {
        for (std::size_t i = 0; i < fresh.size(); ++i)
            AddChange(std::move(before[i]), *fresh[i]);
    };
    try {
        change(fresh);
    } catch (...) {
        keep();
        throw;
    }
    keep();
    std::vector<Mp3File*> changed;
    for (std::size_t i = kept; i < open_.changes.size(); ++i)
        changed.push_back(open_.changes[i].Record());
    return changed;
}

void EditJournal::AddChange(RecordState before, Mp3File& record) {
    if (auto delta = RecordDelta::Between(std::move(before), record)) {
        open_.bytes += delta->MemoryBytes();
        open_.changes.push_back(std::move(*delta));
    }
}

std::vector<Mp3File*> EditJournal::Commit() {
    Action action = std::exchange(open_, {});
    ForgetSeen();
    std::vector<Mp3File*> changed;
    changed.reserve(action.changes.size());
    for (const RecordDelta& delta : action.changes)
        changed.push_back(delta.Record());
    // The budget counts one slot a change: the room the list grew into beyond that goes.
    action.changes.shrink_to_fit();
    if (!changed.empty() && !Keep(std::move(action)))
        changed.clear();
    return changed;
}

void EditJournal::Abandon() {
    std::vector<Mp3File*> putBack;
    while (AbandonSome(std::numeric_limits<std::size_t>::max(), putBack)) {
    }
}

bool EditJournal::AbandonSome(std::size_t count, std::vector<Mp3File*>& putBack) {
    std::vector<RecordDelta>& changes = open_.changes;
    for (; count > 0 && !changes.empty(); --count) {
        changes.back().PutBack(false);
        putBack.push_back(changes.back().Record());
        changes.pop_back();
    }
    if (!changes.empty())
        return true;
    open_ = {};
    ForgetSeen();
    return false;
}

bool EditJournal::WillOutgrow(std::size_t done, std::size_t total) const {
    if (done == 0)
        return false;
    return double(open_.bytes) / double(done) * double(total) > double(limits_.maxBytes);
}

template <typename Dropped>
void EditJournal::Dispose(Dropped dropped) {
    if (dispose_)
        dispose_(std::make_shared<Dropped>(std::move(dropped)));
}

bool EditJournal::Keep(Action action) {
    if (action.bytes > limits_.maxBytes) {
        if (ask_ && !ask_()) {
            open_ = std::move(action);
            Abandon();
            return false;
        }
        // Nothing older can be undone across an action that is not kept.
        Dispose(TakeAll());
        return true;
    }
    for (const Action& undone : redo_)
        bytes_ -= undone.bytes;
    if (!redo_.empty())
        Dispose(std::exchange(redo_, {}));
    bytes_ += action.bytes;
    undo_.push_back(std::move(action));
    while (!undo_.empty() && (undo_.size() > limits_.maxActions || bytes_ > limits_.maxBytes))
        DropOldest();
    return true;
}

std::u16string EditJournal::UndoName() const {
    return undo_.empty() ? std::u16string() : undo_.back().name;
}

std::u16string EditJournal::RedoName() const {
    return redo_.empty() ? std::u16string() : redo_.back().name;
}

std::vector<Mp3File*> EditJournal::Undo() {
    if (!BeginMove(true))
        return {};
    MoveSome(std::numeric_limits<std::size_t>::max());
    return EndMove();
}

std::vector<Mp3File*> EditJournal::Redo() {
    if (!BeginMove(false))
        return {};
    MoveSome(std::numeric_limits<std::size_t>::max());
    return EndMove();
}

bool EditJournal::BeginMove(bool undo) {
    auto& from = undo ? undo_ : redo_;
    if (from.empty())
        return false;
    moving_ = std::move(from.back());
    from.pop_back();
    moved_ = 0;
    movingUndo_ = undo;
    movedRecords_.clear();
    stale_.clear();
    return true;
}

bool EditJournal::MoveSome(std::size_t count) {
    const std::size_t end = moved_ + std::min(count, moving_.changes.size() - moved_);
    for (; moved_ < end; ++moved_) {
        const RecordDelta& change = moving_.changes[moved_];
        if (change.Holds(movingUndo_)) {
            change.PutBack(!movingUndo_);
            movedRecords_.push_back(change.Record());
        } else {
            stale_.insert(change.Record());
        }
    }
    return moved_ < moving_.changes.size();
}

std::vector<Mp3File*> EditJournal::EndMove() {
    (movingUndo_ ? redo_ : undo_).push_back(std::exchange(moving_, {}));
    Forget(std::exchange(stale_, {}));
    return std::exchange(movedRecords_, {});
}

void EditJournal::AbandonMove() {
    std::vector<Mp3File*> putBack;
    while (AbandonMoveSome(std::numeric_limits<std::size_t>::max(), putBack)) {
    }
}

bool EditJournal::AbandonMoveSome(std::size_t count, std::vector<Mp3File*>& putBack) {
    for (; count > 0 && moved_ > 0; --count) {
        const RecordDelta& change = moving_.changes[--moved_];
        if (change.Holds(!movingUndo_)) {
            change.PutBack(movingUndo_);
            putBack.push_back(change.Record());
        }
    }
    if (moved_ > 0)
        return true;
    (movingUndo_ ? undo_ : redo_).push_back(std::exchange(moving_, {}));
    movedRecords_.clear();
    stale_.clear();
    return false;
}

std::vector<std::u16string> EditJournal::ActionNames(
    const std::function<bool(const Mp3File&)>& chosen) const {
    std::vector<std::u16string> names;
    for (const Action& action : undo_) {
        const bool touches = std::any_of(action.changes.begin(), action.changes.end(),
                                         [&](const RecordDelta& c) { return chosen(*c.Record()); });
        if (touches && std::find(names.begin(), names.end(), action.name) == names.end())
            names.push_back(action.name);
    }
    return names;
}

void EditJournal::Clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
}

std::shared_ptr<void> EditJournal::TakeAll() {
    struct Dropped {
        std::deque<Action> undo, redo;
    };
    auto dropped = std::make_shared<Dropped>(Dropped{std::move(undo_), std::move(redo_)});
    Clear();
    return dropped;
}

void EditJournal::Forget(const Mp3File& record) {
    Forget(std::unordered_set<const Mp3File*>{&record});
}

void EditJournal::Forget(const std::unordered_set<const Mp3File*>& records) {
    if (records.empty())
        return;
    auto forgetIn = [&](auto& actions) {
        for (Action& action : actions) {
            std::erase_if(action.changes, [&](const RecordDelta& change) {
                if (!records.contains(change.Record()))
                    return false;
                const std::size_t bytes = change.MemoryBytes();
                action.bytes -= bytes;
                bytes_ -= bytes;
                return true;
            });
        }
        std::erase_if(actions, [&](const Action& action) {
            if (!action.changes.empty())
                return false;
            bytes_ -= action.bytes;
            return true;
        });
    };
    forgetIn(undo_);
    forgetIn(redo_);
}

void EditJournal::DropOldest() {
    bytes_ -= undo_.front().bytes;
    Dispose(std::move(undo_.front()));
    undo_.pop_front();
}

}  // namespace velmora::edit
