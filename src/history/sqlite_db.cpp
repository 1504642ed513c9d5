#include "history/sqlite_db.h"

namespace shop {

SqliteConnection::SqliteConnection(const std::filesystem::path& file, int flags) {
  const int result = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
  if (result != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(result);
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError(result, message);
  }
  sqlite3_extended_result_codes(db_, 1);
}

SqliteConnection::~SqliteConnection() {
  sqlite3_close_v2(db_);
}

void SqliteConnection::fail(int code) const {
  throw SqliteError(code, sqlite3_errmsg(db_));
}

void SqliteConnection::execute(const char* sql) {
  const int result = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (result != SQLITE_OK) {
    fail(result);
  }
}

std::int64_t SqliteConnection::query_integer(const char* sql) {
  SqliteStatement statement(*this, sql);
  return statement.step() ? statement.integer(0) : 0;
}

void SqliteConnection::set_busy_timeout(int milliseconds) {
  sqlite3_busy_timeout(db_, milliseconds);
}

SqliteStatement::SqliteStatement(SqliteConnection& connection, const char* sql)
    : connection_(connection) {
  const int result = sqlite3_prepare_v2(connection.handle(), sql, -1, &statement_, nullptr);
  if (result != SQLITE_OK) {
    connection.fail(result);
  }
}

SqliteStatement::~SqliteStatement() {
  sqlite3_finalize(statement_);
}

void SqliteStatement::bind(int index, std::string_view text) {
  const int result = sqlite3_bind_text64(statement_, index, text.data(), text.size(),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
  if (result != SQLITE_OK) {
    connection_.fail(result);
  }
}

void SqliteStatement::bind(int index, std::int64_t value) {
  const int result = sqlite3_bind_int64(statement_, index, value);
  if (result != SQLITE_OK) {
    connection_.fail(result);
  }
}

void SqliteStatement::bind(int index, std::optional<std::int64_t> value) {
  if (value) {
    bind(index, *value);
    return;
  }
  const int result = sqlite3_bind_null(statement_, index);
  if (result != SQLITE_OK) {
    connection_.fail(result);
  }
}

bool SqliteStatement::step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) {
    return true;
  }
  if (result == SQLITE_DONE) {
    return false;
  }
  sqlite3_reset(statement_);
  connection_.fail(result);
}

void SqliteStatement::reset() {
  sqlite3_reset(statement_);
}

std::string SqliteStatement::text(int column) const {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  const int size = sqlite3_column_bytes(statement_, column);
  return bytes == nullptr ? std::string() : std::string(bytes, static_cast<size_t>(size));
}

std::int64_t SqliteStatement::integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::optional<std::int64_t> SqliteStatement::optional_integer(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) {
    return std::nullopt;
  }
  return integer(column);
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : connection_(connection) {
  connection_.execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
  if (open_) {
    sqlite3_exec(connection_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
}

void SqliteTransaction::commit() {
  connection_.execute("COMMIT");
  open_ = false;
}

}  // namespace shop
