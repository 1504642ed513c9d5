#pragma once
// A small RAII layer over the SQLite C API: a connection, prepared statements and
// transactions. Every failure throws SqliteError with SQLite's result code.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace shop {

class SqliteError : public std::runtime_error {
 public:
  SqliteError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
  // The primary result code (SQLITE_NOTADB, SQLITE_BUSY, SQLITE_FULL, ...).
  int code() const { return code_ & 0xFF; }

 private:
  int code_;
};

class SqliteConnection {
 public:
  // `flags` as for sqlite3_open_v2 (SQLITE_OPEN_READONLY, ..._READWRITE, ..._CREATE).
  SqliteConnection(const std::filesystem::path& file, int flags);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  void execute(const char* sql);
  // The first column of the first row of a query that yields one integer.
  std::int64_t query_integer(const char* sql);
  void set_busy_timeout(int milliseconds);
  sqlite3* handle() const { return db_; }
  [[noreturn]] void fail(int code) const;

 private:
  sqlite3* db_ = nullptr;
};

class SqliteStatement {
 public:
  SqliteStatement(SqliteConnection& connection, const char* sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Parameters are numbered from 1, as in SQL.
  void bind(int index, std::string_view text);
  void bind(int index, std::int64_t value);
  void bind(int index, std::optional<std::int64_t> value);
  // Runs one step: true when it yielded a row, false when it is done.
  bool step();
  // Makes the statement ready to run again; bindings are kept until rebound.
  void reset();

  // Columns are numbered from 0.
  std::string text(int column) const;
  std::int64_t integer(int column) const;
  std::optional<std::int64_t> optional_integer(int column) const;

 private:
  SqliteConnection& connection_;
  sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE on construction; rolls back on destruction unless committed.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteConnection& connection);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;

  void commit();

 private:
  SqliteConnection& connection_;
  bool open_ = true;
};

}  // namespace shop
