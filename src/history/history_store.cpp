#include "history/history_store.h"

#include <unistd.h>

#include "lists/file_store.h"

namespace shop {
namespace {

// Schema step N brings a database from user_version N-1 to N.
constexpr const char* kSchemaSteps[] = {
    R"sql(
    CREATE TABLE checks (
      id           INTEGER PRIMARY KEY,
      time         TEXT NOT NULL,
      marketplace  TEXT NOT NULL,
      keyword      TEXT NOT NULL,
      item_address TEXT NOT NULL,
      item_key     TEXT NOT NULL,
      sort_choice  TEXT NOT NULL,
      page_count   INTEGER NOT NULL,
      outcome      TEXT NOT NULL CHECK (outcome IN ('found', 'not_within', 'failed')),
      page         INTEGER,
      place        INTEGER,
      result_text  TEXT NOT NULL,
      rank         INTEGER
    );
    CREATE UNIQUE INDEX checks_identity ON checks (time, marketplace, item_key, keyword);
    CREATE INDEX checks_by_item ON checks (marketplace, keyword, item_address, time);
    )sql",
};
static_assert(std::size(kSchemaSteps) == HistoryStore::kSchemaVersion);

constexpr const char* kColumns =
    "time, marketplace, keyword, item_address, item_key, sort_choice, page_count, outcome, "
    "page, place, result_text, rank";

[[noreturn]] void rethrow(const SqliteError& error) {
  const HistoryProblem problem =
      error.code() == SQLITE_NOTADB ? HistoryProblem::not_a_database : HistoryProblem::failed;
  throw HistoryError(problem, error.what());
}

// Brings the schema to kSchemaVersion; each step is one transaction, so that a
// second process opening the database at the same time finds either version.
void migrate(SqliteConnection& db) {
  for (;;) {
    SqliteTransaction transaction(db);
    const std::int64_t version = db.query_integer("PRAGMA user_version");
    if (version >= HistoryStore::kSchemaVersion) {
      return;
    }
    db.execute(kSchemaSteps[version]);
    db.execute(("PRAGMA user_version = " + std::to_string(version + 1)).c_str());
    transaction.commit();
  }
}

std::unique_ptr<SqliteConnection> connect(const std::filesystem::path& file, int flags) {
  auto db = std::make_unique<SqliteConnection>(file, flags);
  db->set_busy_timeout(HistoryStore::kBusyTimeoutMs);
  // Read before anything is written: a file that is no database, or one of a newer
  // version, must stay exactly as it is (WAL mode alone rewrites the header).
  const std::int64_t version = db->query_integer("PRAGMA user_version");
  if (version > HistoryStore::kSchemaVersion) {
    throw HistoryError(HistoryProblem::newer_version, "schema version " + std::to_string(version));
  }
  // One statement, so one snapshot: another process may be creating the schema
  // right now, and its tables must not be mistaken for another program's.
  if (db->query_integer("SELECT (SELECT user_version FROM pragma_user_version) = 0 AND "
                        "EXISTS (SELECT 1 FROM sqlite_master)") != 0) {
    throw HistoryError(HistoryProblem::not_a_database, "database of another program");
  }
  try {
    // A window and a command-line run may finish rows at the same moment; in WAL
    // mode a commit needs no fsync, which keeps a row's record fast.
    db->execute("PRAGMA journal_mode = WAL");
    db->execute("PRAGMA synchronous = NORMAL");
  } catch (const SqliteError&) {
    // A read-only file keeps its journal mode; reading still works.
  }
  migrate(*db);
  return db;
}

CheckRecord record_from_row(const SqliteStatement& row) {
  CheckRecord record;
  record.time = row.text(0);
  record.marketplace = row.text(1);
  record.keyword = row.text(2);
  record.item_address = row.text(3);
  record.item_key = row.text(4);
  record.sort_choice = row.text(5);
  record.page_count = row.integer(6);
  record.outcome = outcome_from_name(row.text(7)).value_or(CheckOutcome::failed);
  record.page = row.optional_integer(8);
  record.place = row.optional_integer(9);
  record.result_text = row.text(10);
  record.rank = row.optional_integer(11);
  return record;
}

}  // namespace

std::filesystem::path history_file() {
  return working_directory_file(kHistoryFileName);
}

std::unique_ptr<HistoryStore> HistoryStore::open(const std::filesystem::path& file) {
  try {
    return std::make_unique<HistoryStore>(
        connect(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX));
  } catch (const SqliteError& error) {
    rethrow(error);
  }
}

std::unique_ptr<HistoryStore> HistoryStore::open_existing(const std::filesystem::path& file) {
  if (access(file.c_str(), F_OK) != 0) {
    return nullptr;
  }
  try {
    return std::make_unique<HistoryStore>(
        connect(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX));
  } catch (const SqliteError& error) {
    rethrow(error);
  }
}

HistoryStore::HistoryStore(std::unique_ptr<SqliteConnection> connection)
    : connection_(std::move(connection)) {}

bool HistoryStore::add(const CheckRecord& record) {
  try {
    if (!insert_) {
      insert_ = std::make_unique<SqliteStatement>(
          *connection_, (std::string("INSERT OR IGNORE INTO checks (") + kColumns +
                         ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                            .c_str());
    }
    SqliteStatement& insert = *insert_;
    insert.reset();
    insert.bind(1, record.time);
    insert.bind(2, record.marketplace);
    insert.bind(3, record.keyword);
    insert.bind(4, record.item_address);
    insert.bind(5, record.item_key);
    insert.bind(6, record.sort_choice);
    insert.bind(7, record.page_count);
    insert.bind(8, outcome_name(record.outcome));
    insert.bind(9, record.page);
    insert.bind(10, record.place);
    insert.bind(11, record.result_text);
    insert.bind(12, record.rank);
    insert.step();
    insert.reset();
    return sqlite3_changes(connection_->handle()) > 0;
  } catch (const SqliteError& error) {
    rethrow(error);
  }
}

std::vector<CheckRecord> HistoryStore::records(const HistoryQuery& query) {
  try {
    std::string sql = std::string("SELECT ") + kColumns + " FROM checks WHERE marketplace = ?1";
    if (query.keyword) {
      sql += " AND keyword = ?2";
    }
    if (query.item_address) {
      sql += " AND item_address = ?3";
    }
    sql += " ORDER BY time, id";
    SqliteStatement select(*connection_, sql.c_str());
    select.bind(1, query.marketplace);
    if (query.keyword) {
      select.bind(2, *query.keyword);
    }
    if (query.item_address) {
      select.bind(3, *query.item_address);
    }
    std::vector<CheckRecord> found;
    while (select.step()) {
      found.push_back(record_from_row(select));
    }
    return found;
  } catch (const SqliteError& error) {
    rethrow(error);
  }
}

void HistoryStore::for_each_record(const std::function<void(const CheckRecord&)>& visit) {
  try {
    SqliteStatement select(
        *connection_,
        (std::string("SELECT ") + kColumns + " FROM checks ORDER BY time, id").c_str());
    while (select.step()) {
      visit(record_from_row(select));
    }
  } catch (const SqliteError& error) {
    rethrow(error);
  }
}

bool HistoryStore::in_transaction(const std::function<bool()>& work) {
  try {
    SqliteTransaction transaction(*connection_);
    if (!work()) {
      return false;
    }
    transaction.commit();
    return true;
  } catch (const SqliteError& error) {
    rethrow(error);
  }
}

}  // namespace shop
