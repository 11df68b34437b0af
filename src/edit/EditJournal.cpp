#include "edit/EditJournal.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "tags/record/Mp3File.h"

namespace velmora::edit {

std::size_t EditJournal::Action::Bytes() const {
    std::size_t bytes = 0;
    for (const RecordChange& change : changes)
        bytes += change.bytes;
    return bytes;
}

std::vector<Mp3File*> EditJournal::Apply(std::u16string name, std::span<Mp3File* const> records,
                                         const std::function<void()>& change) {
    std::vector<Mp3File*> distinct;
    std::vector<RecordState> before;
    std::unordered_set<const Mp3File*> seen;
    for (Mp3File* record : records) {
        if (seen.insert(record).second) {
            distinct.push_back(record);
            before.push_back(RecordState::Capture(*record));
        }
    }
    Action action{std::move(name), {}};
    std::vector<Mp3File*> changed;
    // Kept also when the change fails half way, so what it did can be undone.
    auto keep = [&] {
        for (std::size_t i = 0; i < distinct.size(); ++i) {
            if (before[i].Matches(*distinct[i]))
                continue;
            RecordState after = RecordState::Capture(*distinct[i]);
            after.ShareFramesWith(before[i]);
            const std::size_t bytes = before[i].MemoryBytes() + after.MemoryBytes(&before[i]);
            action.changes.push_back({distinct[i], std::move(before[i]), std::move(after), bytes});
            changed.push_back(distinct[i]);
        }
        if (action.changes.empty())
            return;
        for (const Action& undone : redo_)
            bytes_ -= undone.Bytes();
        redo_.clear();
        bytes_ += action.Bytes();
        undo_.push_back(std::move(action));
        while (!undo_.empty() && (undo_.size() > limits_.maxActions || bytes_ > limits_.maxBytes))
            DropOldest();
    };
    try {
        change();
    } catch (...) {
        keep();
        throw;
    }
    keep();
    return changed;
}

std::vector<Mp3File*> EditJournal::ApplyToEach(std::u16string name,
                                               std::span<Mp3File* const> records,
                                               const std::function<void(Mp3File&)>& change) {
    return Apply(std::move(name), records, [&] {
        for (Mp3File* record : records)
            change(*record);
    });
}

std::u16string EditJournal::UndoName() const {
    return undo_.empty() ? std::u16string() : undo_.back().name;
}

std::u16string EditJournal::RedoName() const {
    return redo_.empty() ? std::u16string() : redo_.back().name;
}

std::vector<Mp3File*> EditJournal::Move(bool undo) {
    auto& from = undo ? undo_ : redo_;
    if (from.empty())
        return {};
    Action action = std::move(from.back());
    from.pop_back();
    std::vector<Mp3File*> done;
    std::vector<const Mp3File*> stale;
    for (const RecordChange& change : action.changes) {
        const RecordState& now = undo ? change.after : change.before;
        if (now.Matches(*change.record)) {
            (undo ? change.before : change.after).RestoreTo(*change.record);
            done.push_back(change.record);
        } else {
            stale.push_back(change.record);
        }
    }
    (undo ? redo_ : undo_).push_back(std::move(action));
    for (const Mp3File* record : stale)
        Forget(*record);
    return done;
}

std::vector<std::u16string> EditJournal::ActionNames(
    const std::function<bool(const Mp3File&)>& chosen) const {
    std::vector<std::u16string> names;
    for (const Action& action : undo_) {
        const bool touches = std::any_of(action.changes.begin(), action.changes.end(),
                                         [&](const RecordChange& c) { return chosen(*c.record); });
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
    auto forgetIn = [&](auto& actions) {
        for (Action& action : actions) {
            std::erase_if(action.changes, [&](const RecordChange& change) {
                if (change.record != &record)
                    return false;
                bytes_ -= change.bytes;
                return true;
            });
        }
        std::erase_if(actions, [](const Action& action) { return action.changes.empty(); });
    };
    forgetIn(undo_);
    forgetIn(redo_);
}

void EditJournal::DropOldest() {
    bytes_ -= undo_.front().Bytes();
    undo_.pop_front();
}

}  // namespace velmora::edit
