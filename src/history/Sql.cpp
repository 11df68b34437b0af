#include "history/Sql.h"

#include <sqlite3.h>

namespace velmora::history {
namespace {

void Check(sqlite3* db, int code) {
    if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE)
        throw SqlError(sqlite3_errmsg(db), code);
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    Check(db,
          sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr));
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement& Statement::Bind(int index, std::int64_t value) {
    Check(db_, sqlite3_bind_int64(statement_, index, value));
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
    Check(db_, sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT));
    return *this;
}

Statement& Statement::BindBlob(int index, std::span<const std::uint8_t> bytes) {
    // A zero-length blob is still a blob, not NULL.
    static constexpr std::uint8_t kNothing = 0;
    Check(db_, sqlite3_bind_blob64(statement_, index, bytes.empty() ? &kNothing : bytes.data(),
                                   bytes.size(), SQLITE_STATIC));
    return *this;
}

Statement& Statement::BindNull(int index) {
    Check(db_, sqlite3_bind_null(statement_, index));
    return *this;
}

bool Statement::Step() {
    const int code = sqlite3_step(statement_);
    Check(db_, code);
    return code == SQLITE_ROW;
}

void Statement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string Statement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text ? std::string(text,
                              static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string();
}

std::vector<std::uint8_t> Statement::Blob(int column) const {
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, column));
    return bytes ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>();
}

bool Statement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

StatementCache::Use StatementCache::Get(std::string_view sql) {
    auto& statement = statements_[sql];
    if (!statement)
        statement = std::make_unique<Statement>(db_, sql);
    return Use(*statement);
}

void Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    const int code = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    if (code != SQLITE_OK) {
        const std::string what = error ? error : sqlite3_errstr(code);
        sqlite3_free(error);
        throw SqlError(what, code);
    }
}

}  // namespace velmora::history
