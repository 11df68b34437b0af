#include <chrono>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <thread>

#include "history/HistoryStore.h"
#include "history/Sql.h"
#include "text/FileName.h"

namespace velmora::history {
namespace {

namespace fs = std::filesystem;

// How long a write waits for the other process's transaction before giving up.
constexpr int kBusyMilliseconds = 10'000;

// The shape of the tables, in the file's user_version. Stores of the first shape say 0: an
// entry held the identity after its save and its state, so noting a save rewrote the entry's
// whole row. Now a saved file has a narrow row of its own in `saved`, and a path_after equal
// to path_before is left out.
constexpr int kVersion = 2;

constexpr char kSchema[] = R"(
CREATE TABLE IF NOT EXISTS batch(
    id INTEGER PRIMARY KEY, started TEXT NOT NULL, finished TEXT, origin TEXT NOT NULL,
    summary TEXT NOT NULL DEFAULT '', reverts INTEGER);
CREATE TABLE IF NOT EXISTS entry(
    id INTEGER PRIMARY KEY, batch INTEGER NOT NULL REFERENCES batch(id) ON DELETE CASCADE,
    path_before BLOB NOT NULL, path_after BLOB, tags_changed INTEGER NOT NULL,
    head_recipe BLOB, tail BLOB, new_head_size INTEGER, new_tail_size INTEGER);
CREATE INDEX IF NOT EXISTS entry_batch ON entry(batch);
CREATE TABLE IF NOT EXISTS saved(
    entry INTEGER PRIMARY KEY REFERENCES entry(id) ON DELETE CASCADE,
    dev INTEGER NOT NULL, ino INTEGER NOT NULL, size INTEGER NOT NULL, mtime_ns INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS chunk(hash BLOB PRIMARY KEY, bytes BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS entry_chunk(
    entry INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE, hash BLOB NOT NULL,
    PRIMARY KEY(entry, hash)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS entry_chunk_hash ON entry_chunk(hash);
)";

// Version 1 to 2, in place: the identities move to `saved`, the columns that held them go.
constexpr char kFromVersion1[] = R"(
CREATE TABLE saved(
    entry INTEGER PRIMARY KEY REFERENCES entry(id) ON DELETE CASCADE,
    dev INTEGER NOT NULL, ino INTEGER NOT NULL, size INTEGER NOT NULL, mtime_ns INTEGER NOT NULL);
INSERT INTO saved SELECT id, dev, ino, size, mtime_ns FROM entry WHERE state = 'saved';
ALTER TABLE entry DROP COLUMN state; ALTER TABLE entry DROP COLUMN dev;
ALTER TABLE entry DROP COLUMN ino; ALTER TABLE entry DROP COLUMN size;
ALTER TABLE entry DROP COLUMN mtime_ns;
)";

// Two processes opening a new store at once both switch it to WAL; SQLite answers the one
// that loses the race with SQLITE_BUSY at once (waiting could deadlock), so it tries again.
template <typename Work>
void OnceFree(Work work) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyMilliseconds);
    for (;;) {
        try {
            work();
            return;
        } catch (const SqlError& error) {
            if ((error.Code() & 0xFF) != SQLITE_BUSY || std::chrono::steady_clock::now() > deadline)
                throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int Version(sqlite3* db) {
    Statement query(db, "PRAGMA user_version");
    return query.Step() ? static_cast<int>(query.Int(0)) : 0;
}

// Brings the tables to kVersion, in one transaction (two processes may open the store at once).
void Shape(sqlite3* db) {
    // Throws for a file that is no database at all.
    Exec(db, "SELECT count(*) FROM sqlite_schema");
    if (Version(db) == kVersion)
        return;
    Exec(db, "BEGIN IMMEDIATE");
    try {
        const int version = Version(db);
        if (version > kVersion)
            throw SqlError("the history of saves was written by a newer Velmora", SQLITE_CANTOPEN);
        const bool versionOne =
            Statement(db, "SELECT 1 FROM pragma_table_info('entry') WHERE name = 'state'").Step();
        if (versionOne)
            Exec(db, kFromVersion1);
        Exec(db, kSchema);
        Exec(db, ("PRAGMA user_version = " + std::to_string(kVersion)).c_str());
        Exec(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

sqlite3* Connect(const fs::path& file) {
    sqlite3* db = nullptr;
    const int code =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (code != SQLITE_OK) {
        const std::string what = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
        sqlite3_close(db);
        throw SqlError(what, code);
    }
    sqlite3_busy_timeout(db, kBusyMilliseconds);
    try {
        // A commit costs no fsync (a crash of the machine may lose the last commits, never
        // the store); checkpoints, which do, come every 64 MiB rather than every 4. Foreign
        // keys are not enforced (a check on every row a save adds cost a third of the rows'
        // time): a batch's rows go with it in DeleteBatch.
        OnceFree([db] {
            Exec(db,
                 "PRAGMA journal_mode=WAL; PRAGMA foreign_keys=OFF; PRAGMA synchronous=NORMAL; "
                 "PRAGMA wal_autocheckpoint=16384; PRAGMA journal_size_limit=67108864;");
        });
        OnceFree([db] { Shape(db); });
        Exec(db, "SELECT count(*) FROM batch; SELECT count(*) FROM chunk;");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    return db;
}

// A failure that says the file itself is no store; anything else (a full disk, no
// permission, a lock held too long) leaves the file alone.
bool IsBroken(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_FORMAT ||
           primary == SQLITE_ERROR;
}

fs::path AsideName(const fs::path& file) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    std::strftime(stamp, sizeof stamp, ".broken-%Y%m%d-%H%M%S", &utc);
    fs::path aside = file.string() + stamp;
    for (int n = 2; fs::exists(aside); ++n)
        aside = file.string() + stamp + "-" + std::to_string(n);
    return aside;
}

void MoveAside(const fs::path& file, fs::path& aside) {
    aside = AsideName(file);
    fs::rename(file, aside);
    // The journal files belong to the broken file; a new store must not replay them.
    for (const char* suffix : {"-wal", "-shm"}) {
        std::error_code ignored;
        if (fs::exists(file.string() + suffix, ignored))
            fs::rename(file.string() + suffix, aside.string() + suffix, ignored);
    }
}

}  // namespace

fs::path HistoryStore::DefaultFile() {
    const char* state = std::getenv("XDG_STATE_HOME");
    fs::path folder;
    if (state != nullptr && *state == '/')
        folder = state;
    else if (const char* home = std::getenv("HOME"))
        folder = fs::path(home) / ".local" / "state";
    return folder / "velmora" / "history.sqlite";
}

std::unique_ptr<HistoryStore> HistoryStore::Open(const fs::path& file, std::u16string& notice,
                                                 std::string& error) {
    try {
        std::error_code ignored;
        if (file.has_parent_path())
            fs::create_directories(file.parent_path(), ignored);
        try {
            return std::unique_ptr<HistoryStore>(new HistoryStore(Connect(file)));
        } catch (const SqlError& failure) {
            if (!IsBroken(failure.Code()) || !fs::exists(file))
                throw;
            fs::path aside;
            MoveAside(file, aside);
            notice = u"The history of saves " + text::FileNameToText(file.native()) +
                     u" could not be read (" + text::FileNameToText(failure.what()) +
                     u"); it was moved to " + text::FileNameToText(aside.native()) +
                     u" and a new one started.";
            return std::unique_ptr<HistoryStore>(new HistoryStore(Connect(file)));
        }
    } catch (const std::exception& failure) {
        error = failure.what();
        return nullptr;
    }
}

HistoryStore::~HistoryStore() {
    // A connection with statements left open does not close.
    statements_.Clear();
    sqlite3_close(db_);
}

}  // namespace velmora::history
