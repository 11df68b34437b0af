#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::history {

// A failed SQLite call, with SQLite's words and its result code.
class SqlError : public std::runtime_error {
  public:
    SqlError(const std::string& what, int code) : std::runtime_error(what), code_(code) {}
    int Code() const { return code_; }

  private:
    int code_;
};

// One prepared statement; parameters are bound by position from 1.
class Statement {
  public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, std::string_view text);
    // The bytes are not copied: they must last until the statement is reset or run again.
    Statement& BindBlob(int index, std::span<const std::uint8_t> bytes);
    Statement& BindNull(int index);
    // True while a row is there to read; false once done.
    bool Step();
    void Run() { Step(); }
    // Ready to run again with new parameters (all of them unbound).
    void Reset();
    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Blob(int column) const;
    bool IsNull(int column) const;

  private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// Statements prepared once per connection, by their text (which must outlive the cache: a
// literal); each is handed out reset, and finalized with the cache. Preparing costs as much
// as running most of them.
class StatementCache {
  public:
    explicit StatementCache(sqlite3* db) : db_(db) {}
    // Finalizes every statement: before the connection closes.
    void Clear() { statements_.clear(); }

    // A cached statement, reset (so no read stays open) when the handle goes.
    class Use {
      public:
        explicit Use(Statement& statement) : statement_(statement) {}
        ~Use() { statement_.Reset(); }
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;
        Statement* operator->() { return &statement_; }
        Statement& operator*() { return statement_; }

      private:
        Statement& statement_;
    };
    Use Get(std::string_view sql);

  private:
    sqlite3* db_;
    std::map<std::string_view, std::unique_ptr<Statement>> statements_;
};

// Runs statements that return no rows.
void Exec(sqlite3* db, const char* sql);

}  // namespace velmora::history
