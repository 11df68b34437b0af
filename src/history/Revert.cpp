#include "history/Revert.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>

#include "common/SystemReason.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "history/RegionRestore.h"
#include "tags/file/SafeRename.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::history {
namespace {

using Outcome = RevertedFile::Outcome;

// Files recorded in one commit; each is held open and locked, with its old tags, until the
// group is written.
constexpr std::size_t kGroupFiles = 64;

std::filesystem::path Normal(const std::u16string& path) {
    return std::filesystem::absolute(text::TextToFileName(path)).lexically_normal();
}

bool Chosen(const EntryRow& entry, const std::vector<std::filesystem::path>& chosen) {
    if (chosen.empty())
        return true;
    const auto before = Normal(entry.pathBefore);
    const auto after = Normal(entry.pathAfter);
    return std::any_of(chosen.begin(), chosen.end(),
                       [&](const auto& path) { return path == before || path == after; });
}

// Where the file of the entry is now: under its new name, or, when the rename did not
// happen, its old one. Empty, with the reason, when neither holds the file the batch left.
std::u16string FindFile(const EntryRow& entry, bool force, std::u16string& reason) {
    bool anyThere = false;
    for (const std::u16string* path : {&entry.pathAfter, &entry.pathBefore}) {
        const auto now = IdentityOfPath(*path);
        anyThere = anyThere || now.has_value();
        if (now && entry.identity && *now == *entry.identity)
            return *path;
    }
    // Forced, the old tags replace whatever tags the file has: a file whose save never
    // happened gets the same bytes again.
    if (force) {
        for (const std::u16string* path : {&entry.pathAfter, &entry.pathBefore}) {
            if (IdentityOfPath(*path))
                return *path;
        }
    }
    if (!anyThere)
        reason = u"it is no longer there";
    else if (!entry.identity)
        reason = u"the save it belongs to did not finish (--force puts the old tags back)";
    else
        reason = u"it changed since the save";
    return {};
}

std::pair<std::u16string, std::u16string> Split(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u'/');
    return {path.substr(0, slash), path.substr(slash + 1)};
}

bool RenameBack(const std::u16string& from, const std::u16string& to, SaveRecorder& recorder,
                std::u16string& reason) {
    if (!recorder.BeforeRename(from, to, reason))
        return false;
    const auto [folder, name] = Split(from);
    int error = 0;
    if (!RenameNoReplace(folder, name, Split(to).second, &error)) {
        reason = error == EEXIST ? u"another file has its old name " + to
                                 : u"it could not be renamed back: " + SystemReasonText(error);
        return false;
    }
    recorder.AfterRename(from, to);
    return true;
}

// A file of the batch on its way back: checked, and its present regions handed to the
// recorder; `restore` (when there are tags to put back) holds it locked until it is written.
struct PendingEntry {
    const EntryRow* entry;
    RevertedFile file;
    bool decided = false;  // the outcome is final: nothing to write
    std::unique_ptr<PendingRestore> restore;
};

PendingEntry BeginEntry(HistoryStore& store, const EntryRow& entry, const RevertOptions& options,
                        SaveRecorder& recorder) {
    PendingEntry pending{&entry, {}, true, nullptr};
    RevertedFile& file = pending.file;
    file.path = FindFile(entry, options.force, file.reason);
    if (file.path.empty()) {
        file.path = entry.pathAfter;
        return pending;
    }
    // A body the save left in the file is checked at its edges only, so it is taken from
    // there only while the file is as the save left it; even --force cannot vouch for it.
    const bool asSaved = entry.identity && IdentityOfPath(file.path) == entry.identity;
    const InFileLookup inFile =
        asSaved ? BytesInFile(file.path) : [](std::uint64_t, std::uint64_t) {
            return std::optional<std::vector<std::uint8_t>>();
        };
    std::optional<ReplacedRegions> old;
    bool fileChanged = false;
    if (entry.tagsChanged && !(old = store.OldRegions(entry.id, inFile, &fileChanged))) {
        file.outcome = fileChanged ? Outcome::Skipped : Outcome::Failed;
        file.reason = fileChanged ? u"the old tags it still held after the save changed since"
                                  : u"its old tags are damaged in the history";
        return pending;
    }
    if (options.dryRun) {
        if (file.path != entry.pathBefore && IdentityOfPath(entry.pathBefore))
            file.reason = u"another file has its old name " + entry.pathBefore;
        else
            file.outcome = Outcome::WouldRevert;
        return pending;
    }
    const std::optional<FileIdentity> expected = options.force ? std::nullopt : entry.identity;
    if (old)
        pending.restore =
            std::make_unique<PendingRestore>(file.path, expected, std::move(*old), recorder);
    pending.decided = false;
    return pending;
}

// Writes the file's old tags back, then its old name; refused when its group's records were
// not kept (`notRecorded`). Its old name is checked only now: an earlier file of the batch
// may have just given it up.
RevertedFile FinishEntry(PendingEntry& pending, SaveRecorder& recorder,
                         const std::u16string* notRecorded) {
    RevertedFile& file = pending.file;
    const EntryRow& entry = *pending.entry;
    if (pending.decided)
        return std::move(file);
    if (file.path != entry.pathBefore && IdentityOfPath(entry.pathBefore)) {
        file.reason = u"another file has its old name " + entry.pathBefore;
        return std::move(file);
    }
    file.outcome = Outcome::Failed;
    if (pending.restore && !pending.restore->Finish(recorder, notRecorded, file.reason))
        return std::move(file);
    if (file.path != entry.pathBefore &&
        !RenameBack(file.path, entry.pathBefore, recorder, file.reason))
        return std::move(file);
    file.path = entry.pathBefore;
    file.outcome = Outcome::Reverted;
    return std::move(file);
}

}  // namespace

RevertResult RevertBatch(HistoryStore& store, std::int64_t id, const RevertOptions& options) {
    RevertResult result;
    if (!store.Batch(id)) {
        result.unknownBatch = true;
        return result;
    }
    std::vector<std::filesystem::path> chosen;
    for (const std::u16string& path : options.files)
        chosen.push_back(Normal(path));
    std::vector<EntryRow> entries = store.Entries(id);
    std::reverse(entries.begin(), entries.end());
    HistoryRecorder recorder(store, "revert", id);
    const auto stopped = [&] { return options.stop != nullptr && options.stop->load(); };
    for (std::size_t next = 0; next < entries.size() && !stopped();) {
        // The present regions of a group of files are kept in one commit before any of them
        // is written.
        recorder.BeginGroup();
        std::vector<PendingEntry> group;
        while (next < entries.size() && group.size() < kGroupFiles && !stopped()) {
            const EntryRow& entry = entries[next++];
            if (Chosen(entry, chosen))
                group.push_back(BeginEntry(store, entry, options, recorder));
            else if (options.done != nullptr)
                ++*options.done;
        }
        std::u16string reason;
        const bool kept = recorder.CommitGroup(reason);
        for (PendingEntry& pending : group) {
            result.files.push_back(FinishEntry(pending, recorder, kept ? nullptr : &reason));
            if (options.done != nullptr)
                ++*options.done;
        }
    }
    result.batch = recorder.Finish(u"Revert of batch " + text::FromUtf8(std::to_string(id)));
    return result;
}

}  // namespace velmora::history
