#include "history/HistoryStore.h"

#include <algorithm>

#include "history/Sql.h"
#include "history/TagRecipe.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::history {
namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
#define VELMORA_NOW "strftime('%Y-%m-%dT%H:%M:%SZ','now')"

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::u16string PathOf(const std::vector<std::uint8_t>& bytes) {
    return text::FileNameToText(std::string(bytes.begin(), bytes.end()));
}

// A transaction that rolls back unless committed; none when `open` is false (the store's
// group transaction holds the work then).
class Transaction {
  public:
    Transaction(StatementCache& statements, bool open) : statements_(open ? &statements : nullptr) {
        if (statements_ != nullptr)
            statements_->Get("BEGIN IMMEDIATE")->Run();
    }
    ~Transaction() {
        if (statements_ != nullptr)
            RollBack(*statements_);
    }
    void Commit() {
        if (statements_ != nullptr)
            statements_->Get("COMMIT")->Run();
        statements_ = nullptr;
    }
    // SQLite may have rolled back already (a full disk): that is no second failure.
    static void RollBack(StatementCache& statements) {
        try {
            statements.Get("ROLLBACK")->Run();
        } catch (const SqlError&) {
        }
    }

  private:
    StatementCache* statements_;
};

void BindIdentity(Statement& statement, int first, const FileIdentity& identity) {
    statement.Bind(first, static_cast<std::int64_t>(identity.device))
        .Bind(first + 1, static_cast<std::int64_t>(identity.inode))
        .Bind(first + 2, static_cast<std::int64_t>(identity.size))
        .Bind(first + 3,
              identity.modifiedSeconds * kNanosecondsPerSecond + identity.modifiedNanoseconds);
}

// Bodies up to this size are offered to the store outright, which keeps the first copy; a
// larger one is looked up first, so that a body already kept is not even handed to SQLite.
constexpr std::size_t kOfferedOutright = 16384;

void StoreChunks(StatementCache& statements, const std::vector<Chunk>& chunks) {
    for (const Chunk& piece : chunks) {
        if (piece.bytes.size() > kOfferedOutright) {
            auto known = statements.Get("SELECT 1 FROM chunk WHERE hash = ?");
            if (known->BindBlob(1, piece.hash).Step())
                continue;
        }
        statements.Get("INSERT OR IGNORE INTO chunk(hash, bytes) VALUES(?, ?)")
            ->BindBlob(1, piece.hash)
            .BindBlob(2, piece.bytes)
            .Run();
    }
}

BatchRow ReadBatch(const Statement& row) {
    BatchRow batch;
    batch.id = row.Int(0);
    batch.started = row.Text(1);
    batch.finished = row.Text(2);
    batch.origin = row.Text(3);
    batch.summary = text::FromUtf8(row.Text(4));
    batch.reverts = row.Int(5);
    batch.files = row.Int(6);
    return batch;
}

constexpr char kBatchColumns[] =
    "SELECT id, started, coalesce(finished, ''), origin, summary, coalesce(reverts, 0), "
    "(SELECT count(*) FROM entry WHERE entry.batch = batch.id) FROM batch ";

}  // namespace

std::int64_t HistoryStore::BeginBatch(const std::string& origin, std::int64_t reverts) {
    auto insert = statements_.Get("INSERT INTO batch(started, origin, reverts) VALUES(" VELMORA_NOW
                                  ", ?, ?)");
    insert->Bind(1, origin);
    if (reverts != 0)
        insert->Bind(2, reverts);
    insert->Run();
    return sqlite3_last_insert_rowid(db_);
}

void HistoryStore::FinishBatch(std::int64_t batch, const std::u16string& summary) {
    statements_.Get("UPDATE batch SET finished = " VELMORA_NOW ", summary = ? WHERE id = ?")
        ->Bind(1, text::ToUtf8(summary))
        .Bind(2, batch)
        .Run();
}

std::int64_t HistoryStore::AddEntry(std::int64_t batch, const std::u16string& path,
                                    const ReplacedRegions* old,
                                    const std::optional<FileIdentity>& identity) {
    JoinGroup();
    Transaction transaction(statements_, group_ == Group::None);
    SplitTag split;
    {
        // path_after stays NULL until a rename.
        auto insert = statements_.Get(
            "INSERT INTO entry(batch, path_before, tags_changed, head_recipe, tail, "
            "new_head_size, new_tail_size) VALUES(?, ?, ?, ?, ?, ?, ?)");
        const std::string native = text::TextToFileName(path);
        insert->Bind(1, batch).BindBlob(2, Bytes(native)).Bind(3, old != nullptr ? 1 : 0);
        if (old != nullptr) {
            split = SplitForStore(hasher_, old->head, old->kept);
            insert->BindBlob(4, split.recipe).BindBlob(5, old->tail);
            insert->Bind(6, static_cast<std::int64_t>(old->newHeadSize))
                .Bind(7, static_cast<std::int64_t>(old->newTailSize));
        }
        insert->Run();
    }
    const std::int64_t entry = sqlite3_last_insert_rowid(db_);
    if (identity)
        NoteSaved(entry, *identity);
    StoreChunks(statements_, split.chunks);
    LinkChunks(entry, split.chunks);
    transaction.Commit();
    return entry;
}

std::array<std::string, HistoryStore::kLinksAtOnce> HistoryStore::LinkStatements() {
    std::array<std::string, kLinksAtOnce> texts;
    std::string rows = "(?1, ?2)";
    for (std::size_t n = 0; n < kLinksAtOnce; ++n) {
        texts[n] = "INSERT OR IGNORE INTO entry_chunk(entry, hash) VALUES" + rows;
        rows += ", (?1, ?" + std::to_string(n + 3) + ")";
    }
    return texts;
}

// The links of an entry to its chunks, a few rows per statement.
void HistoryStore::LinkChunks(std::int64_t entry, std::span<const Chunk> chunks) {
    while (!chunks.empty()) {
        const std::size_t count = std::min(chunks.size(), kLinksAtOnce);
        auto insert = statements_.Get(linkStatements_[count - 1]);
        insert->Bind(1, entry);
        for (std::size_t n = 0; n < count; ++n)
            insert->BindBlob(static_cast<int>(n) + 2, chunks[n].hash);
        insert->Run();
        chunks = chunks.subspan(count);
    }
}

void HistoryStore::BeginGroup() {
    group_ = Group::Waiting;
}

void HistoryStore::JoinGroup() {
    if (group_ == Group::Waiting) {
        statements_.Get("BEGIN IMMEDIATE")->Run();
        group_ = Group::Open;
    }
}

void HistoryStore::EndGroup(bool commit) {
    const bool open = group_ == Group::Open;
    group_ = Group::None;
    if (!open)
        return;
    try {
        if (commit)
            statements_.Get("COMMIT")->Run();
        else
            Transaction::RollBack(statements_);
    } catch (const SqlError&) {
        Transaction::RollBack(statements_);
        throw;
    }
}

void HistoryStore::MarkSaved(const std::vector<std::pair<std::int64_t, FileIdentity>>& saved) {
    JoinGroup();
    Transaction transaction(statements_, group_ == Group::None);
    for (const auto& [entry, identity] : saved)
        NoteSaved(entry, identity);
    transaction.Commit();
}

// A row of its own, not the entry's: the entry's pages, written by the last commit, are not
// rewritten by the next.
void HistoryStore::NoteSaved(std::int64_t entry, const FileIdentity& identity) {
    auto insert = statements_.Get(
        "INSERT OR REPLACE INTO saved(entry, dev, ino, size, mtime_ns) VALUES(?, ?, ?, ?, ?)");
    BindIdentity(insert->Bind(1, entry), 2, identity);
    insert->Run();
}

void HistoryStore::MarkRenamed(std::int64_t entry, const std::u16string& pathAfter) {
    const std::string native = text::TextToFileName(pathAfter);
    statements_.Get("UPDATE entry SET path_after = ? WHERE id = ?")
        ->BindBlob(1, Bytes(native))
        .Bind(2, entry)
        .Run();
}

std::vector<BatchRow> HistoryStore::Batches() {
    std::vector<BatchRow> batches;
    Statement query(db_, std::string(kBatchColumns) + "ORDER BY id DESC");
    while (query.Step())
        batches.push_back(ReadBatch(query));
    return batches;
}

std::optional<BatchRow> HistoryStore::Batch(std::int64_t id) {
    Statement query(db_, std::string(kBatchColumns) + "WHERE id = ?");
    query.Bind(1, id);
    if (!query.Step())
        return std::nullopt;
    return ReadBatch(query);
}

std::vector<EntryRow> HistoryStore::Entries(std::int64_t batch) {
    std::vector<EntryRow> entries;
    Statement query(db_,
                    "SELECT id, path_before, coalesce(path_after, path_before), tags_changed, "
                    "dev, ino, size, mtime_ns FROM entry LEFT JOIN saved ON saved.entry = entry.id "
                    "WHERE batch = ? ORDER BY id");
    query.Bind(1, batch);
    while (query.Step()) {
        EntryRow row;
        row.id = query.Int(0);
        row.pathBefore = PathOf(query.Blob(1));
        row.pathAfter = PathOf(query.Blob(2));
        row.tagsChanged = query.Int(3) != 0;
        row.state = query.IsNull(4) ? "recorded" : "saved";
        if (!query.IsNull(4)) {
            const std::int64_t mtime = query.Int(7);
            row.identity =
                FileIdentity{static_cast<dev_t>(query.Int(4)), static_cast<ino_t>(query.Int(5)),
                             static_cast<std::uint64_t>(query.Int(6)),
                             mtime / kNanosecondsPerSecond, mtime % kNanosecondsPerSecond};
        }
        entries.push_back(std::move(row));
    }
    return entries;
}

std::optional<ReplacedRegions> HistoryStore::OldRegions(std::int64_t entry,
                                                        const InFileLookup& inFile,
                                                        bool* fileChanged) {
    auto query = statements_.Get(
        "SELECT head_recipe, tail, new_head_size, new_tail_size FROM entry "
        "WHERE id = ? AND tags_changed = 1");
    query->Bind(1, entry);
    if (!query->Step())
        return std::nullopt;
    FromFile fromFile;
    const auto head = Rebuild(
        hasher_, query->Blob(0),
        [&](const Digest& hash) {
            auto chunk = statements_.Get("SELECT bytes FROM chunk WHERE hash = ?");
            chunk->BindBlob(1, hash);
            std::optional<std::vector<std::uint8_t>> bytes;
            if (chunk->Step())
                bytes = chunk->Blob(0);
            return bytes;
        },
        inFile, &fromFile);
    if (fileChanged != nullptr)
        *fileChanged = fromFile.changed;
    if (!head)
        return std::nullopt;
    ReplacedRegions old;
    old.kept = std::move(fromFile.stretches);
    old.head.resize(head->size());
    std::copy(head->begin(), head->end(), old.head.begin());
    old.tail = query->Blob(1);
    old.newHeadSize = static_cast<std::uint64_t>(query->Int(2));
    old.newTailSize = static_cast<std::uint64_t>(query->Int(3));
    return old;
}

}  // namespace velmora::history
