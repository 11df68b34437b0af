#include "history/HistoryStore.h"
#include "history/Sql.h"

namespace velmora::history {
namespace {

// Free pages are given back once they are more than this share of the file.
constexpr std::int64_t kVacuumShare = 4;

std::int64_t Pragma(sqlite3* db, const char* name) {
    Statement query(db, std::string("PRAGMA ") + name);
    return query.Step() ? query.Int(0) : 0;
}

std::optional<std::int64_t> OldestBatch(sqlite3* db, const std::string& where) {
    Statement query(db, "SELECT id FROM batch " + where + " ORDER BY id LIMIT 1");
    if (!query.Step())
        return std::nullopt;
    return query.Int(0);
}

}  // namespace

std::uint64_t HistoryStore::SizeInBytes() {
    const std::int64_t used = Pragma(db_, "page_count") - Pragma(db_, "freelist_count");
    return static_cast<std::uint64_t>(used * Pragma(db_, "page_size"));
}

void HistoryStore::DeleteBatch(std::int64_t id) {
    const std::string batch = std::to_string(id);
    const std::string entries = " IN (SELECT id FROM entry WHERE batch = " + batch + ");";
    try {
        Exec(db_, ("BEGIN IMMEDIATE; DELETE FROM entry_chunk WHERE entry" + entries +
                   "DELETE FROM saved WHERE entry" + entries + "DELETE FROM entry WHERE batch = " +
                   batch + "; DELETE FROM batch WHERE id = " + batch + "; COMMIT;")
                      .c_str());
    } catch (const SqlError&) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::size_t HistoryStore::Prune(std::uint32_t keepDays, std::uint64_t maxBytes) {
    static constexpr char kOrphans[] =
        "DELETE FROM chunk WHERE NOT EXISTS "
        "(SELECT 1 FROM entry_chunk WHERE entry_chunk.hash = chunk.hash)";
    std::size_t deleted = 0;
    const std::string tooOld = "WHERE started < strftime('%Y-%m-%dT%H:%M:%SZ', 'now', '-" +
                               std::to_string(keepDays) + " days')";
    // The bodies no batch uses any more go once, after all the batches too old.
    for (auto id = OldestBatch(db_, tooOld); id; id = OldestBatch(db_, tooOld), ++deleted)
        DeleteBatch(*id);
    if (deleted > 0)
        Exec(db_, kOrphans);
    while (SizeInBytes() > maxBytes) {
        // The newest batch stays, however large: it is the one most likely wanted back.
        const auto id = OldestBatch(db_, "WHERE id < (SELECT max(id) FROM batch)");
        if (!id)
            break;
        DeleteBatch(*id);
        Exec(db_, kOrphans);
        ++deleted;
    }
    if (Pragma(db_, "freelist_count") * kVacuumShare > Pragma(db_, "page_count"))
        Exec(db_, "VACUUM");
    return deleted;
}

}  // namespace velmora::history
