#pragma once

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "history/Sql.h"
#include "history/TagRecipe.h"
#include "tags/file/FileIdentity.h"
#include "tags/record/SaveRecorder.h"

namespace velmora::history {

// One run that wrote files: a window Save, a command of velmora-cli, a revert.
struct BatchRow {
    std::int64_t id = 0;
    std::string started;   // UTC, ISO 8601
    std::string finished;  // empty while running, or when the run was cut short
    std::string origin;    // "window", "cli" or "revert"
    std::u16string summary;
    std::int64_t reverts = 0;  // the batch this one reverted, 0 for none
    std::int64_t files = 0;
};

// One file of a batch.
struct EntryRow {
    std::int64_t id = 0;
    std::u16string pathBefore;
    std::u16string pathAfter;
    bool tagsChanged = false;  // else only renamed
    // The file after the save (or, for a rename alone, as it was renamed); none until the
    // save succeeded.
    std::optional<FileIdentity> identity;
    std::string state;  // "saved" with an identity, else "recorded"
};

// The history of saves in one SQLite file (WAL, so the window and velmora-cli may write at
// once). Old tag regions are kept as recipes over frame bodies stored once by digest.
// Every call throws SqlError when the database fails.
class HistoryStore {
  public:
    // $XDG_STATE_HOME/velmora/history.sqlite, or ~/.local/state/velmora/history.sqlite.
    static std::filesystem::path DefaultFile();
    // Opens or creates the store. A file that is no usable store is moved aside as
    // "<file>.broken-YYYYMMDD-HHMMSS" and a new one started, with `notice` saying so. Null,
    // with `error`, when no store can be had at all.
    static std::unique_ptr<HistoryStore> Open(const std::filesystem::path& file,
                                              std::u16string& notice, std::string& error);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    std::int64_t BeginBatch(const std::string& origin, std::int64_t reverts);
    void FinishBatch(std::int64_t batch, const std::u16string& summary);
    // Commits the old regions of a file about to be saved (state "recorded"); `old` null for
    // a rename alone, whose file is then `identity`.
    std::int64_t AddEntry(std::int64_t batch, const std::u16string& path,
                          const ReplacedRegions* old, const std::optional<FileIdentity>& identity);
    // Entries added from BeginGroup to EndGroup share one transaction, begun with the first
    // of them: one commit for many files. EndGroup(false), or a failed EndGroup(true), keeps
    // none of them (a failed AddEntry in a group leaves it to be ended so).
    void BeginGroup();
    void EndGroup(bool commit);
    // Notes the identities of saved files, all in one transaction: the group's, while a group
    // is open.
    void MarkSaved(const std::vector<std::pair<std::int64_t, FileIdentity>>& saved);
    void MarkRenamed(std::int64_t entry, const std::u16string& pathAfter);

    // Newest first.
    std::vector<BatchRow> Batches();
    std::optional<BatchRow> Batch(std::int64_t id);
    std::vector<EntryRow> Entries(std::int64_t batch);
    // The old regions of an entry, rebuilt byte for byte, with the bodies the save left in the
    // file read through `inFile` (and named in `kept`, oldAt in the head, newAt in the file);
    // none when its data is damaged, or when the file no longer holds those bodies (then
    // `fileChanged` is set).
    std::optional<ReplacedRegions> OldRegions(std::int64_t entry, const InFileLookup& inFile = {},
                                              bool* fileChanged = nullptr);

    // Deletes whole batches, oldest first: those older than `keepDays`, then as many as it
    // takes to bring the file under `maxBytes`. The number of batches deleted.
    std::size_t Prune(std::uint32_t keepDays, std::uint64_t maxBytes);
    // Pages in use times the page size.
    std::uint64_t SizeInBytes();

  private:
    explicit HistoryStore(sqlite3* db)
        : db_(db), linkStatements_(LinkStatements()), statements_(db) {}
    void DeleteBatch(std::int64_t id);
    // Opens the transaction of a group begun and not yet open.
    void JoinGroup();
    static constexpr std::size_t kLinksAtOnce = 8;
    // The statements that link an entry to 1 to kLinksAtOnce chunks.
    static std::array<std::string, kLinksAtOnce> LinkStatements();
    void LinkChunks(std::int64_t entry, std::span<const Chunk> chunks);
    void NoteSaved(std::int64_t entry, const FileIdentity& identity);

    enum class Group { None, Waiting, Open };

    sqlite3* db_;
    // Before the cache, which holds their text.
    const std::array<std::string, kLinksAtOnce> linkStatements_;
    StatementCache statements_;
    Sha256 hasher_;
    Group group_ = Group::None;
};

}  // namespace velmora::history
