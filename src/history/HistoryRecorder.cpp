#include "history/HistoryRecorder.h"

#include "history/HistoryStore.h"
#include "history/Sql.h"
#include "text/Utf8.h"

namespace velmora::history {

bool HistoryRecorder::Entry(const std::u16string& path, const ReplacedRegions* old,
                            std::u16string& reason, std::int64_t& entry) {
    const auto known = entries_.find(path);
    // A second change of a file in one run (its rename after its tags) adds nothing: the
    // entry holds the regions from before the first.
    if (known != entries_.end()) {
        entry = known->second;
        return true;
    }
    if (!groupFailure_.empty()) {
        reason = groupFailure_;
        return false;
    }
    try {
        if (batch_ == 0)
            batch_ = store_.BeginBatch(origin_, reverts_);
        const std::optional<FileIdentity> identity =
            old == nullptr ? IdentityOfPath(path) : std::nullopt;
        entry = store_.AddEntry(batch_, path, old, identity);
        entries_.emplace(path, entry);
        if (grouped_)
            staged_.push_back(path);
        return true;
    } catch (const std::exception& failure) {
        reason = text::FromUtf8(failure.what());
        if (grouped_)
            groupFailure_ = reason;
        return false;
    }
}

void HistoryRecorder::BeginGroup() {
    const std::lock_guard lock(mutex_);
    grouped_ = true;
    inGroups_ = true;
    store_.BeginGroup();
}

bool HistoryRecorder::CommitGroup(std::u16string& reason) {
    const std::lock_guard lock(mutex_);
    if (!grouped_)
        return true;
    grouped_ = false;
    if (groupFailure_.empty()) {
        try {
            // The saves of the group before ride on this group's commit.
            if (!saved_.empty())
                store_.MarkSaved(saved_);
            store_.EndGroup(true);
            saved_.clear();
            staged_.clear();
            return true;
        } catch (const std::exception& failure) {
            groupFailure_ = text::FromUtf8(failure.what());
        }
    }
    store_.EndGroup(false);
    for (const std::u16string& path : staged_)
        entries_.erase(path);
    staged_.clear();
    reason = std::move(groupFailure_);
    groupFailure_.clear();
    return false;
}

bool HistoryRecorder::BeforeWrite(const std::u16string& path, const ReplacedRegions& old,
                                  std::u16string& reason) {
    const std::lock_guard lock(mutex_);
    std::int64_t entry = 0;
    return Entry(path, &old, reason, entry);
}

namespace {
constexpr std::size_t kSavesPerNote = 64;
}

HistoryRecorder::~HistoryRecorder() {
    // A group cut short by an exception wrote none of its files.
    if (grouped_) {
        try {
            store_.EndGroup(false);
        } catch (const std::exception&) {
        }
    }
    if (!saved_.empty())
        NoteSaved();
}

void HistoryRecorder::NoteSaved() {
    try {
        store_.MarkSaved(saved_);
    } catch (const SqlError&) {
        // The entries stay "recorded": a revert skips them rather than guess.
    }
    saved_.clear();
}

void HistoryRecorder::AfterWrite(const std::u16string& path, const FileIdentity& identity) {
    const std::lock_guard lock(mutex_);
    const auto known = entries_.find(path);
    if (known == entries_.end())
        return;
    saved_.emplace_back(known->second, identity);
    // In groups, the next group's commit notes them.
    if (!inGroups_ && saved_.size() >= kSavesPerNote)
        NoteSaved();
}

// The new name is noted before the rename: a revert looks for the file under both names.
bool HistoryRecorder::BeforeRename(const std::u16string& from, const std::u16string& to,
                                   std::u16string& reason) {
    const std::lock_guard lock(mutex_);
    std::int64_t entry = 0;
    if (!Entry(from, nullptr, reason, entry))
        return false;
    try {
        store_.MarkRenamed(entry, to);
        return true;
    } catch (const SqlError& failure) {
        reason = text::FromUtf8(failure.what());
        return false;
    }
}

void HistoryRecorder::AfterRename(const std::u16string& from, const std::u16string& to) {
    const std::lock_guard lock(mutex_);
    const auto known = entries_.find(from);
    if (known == entries_.end())
        return;
    const std::int64_t entry = known->second;
    entries_.erase(known);
    entries_.emplace(to, entry);
}

std::int64_t HistoryRecorder::Finish(const std::u16string& what) {
    const std::lock_guard lock(mutex_);
    if (batch_ == 0)
        return 0;
    NoteSaved();
    const std::size_t files = entries_.size();
    const std::u16string count =
        text::FromUtf8(std::to_string(files)) + (files == 1 ? u" file" : u" files");
    try {
        store_.FinishBatch(batch_, what.empty() ? count : what + u": " + count);
    } catch (const SqlError&) {
    }
    return batch_;
}

}  // namespace velmora::history
