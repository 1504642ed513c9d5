#pragma once
// The rank history: an SQLite database of every ranking check, one record per
// finished row. The schema's version is PRAGMA user_version; opening a database of
// an older version migrates it, one step per version. A file that is not such a
// database, or one of a newer version, is never changed.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "history/check_record.h"
#include "history/sqlite_db.h"

namespace shop {

// The history file in the working directory.
inline constexpr char kHistoryFileName[] = "/排名历史.db";
std::filesystem::path history_file();

enum class HistoryProblem {
  not_a_database,  // not an SQLite file, or an SQLite file of another program
  newer_version,   // written by a newer version of this program
  failed,          // cannot be opened, read or written (locked, read-only, disk full)
};

class HistoryError : public std::runtime_error {
 public:
  HistoryError(HistoryProblem problem, const std::string& detail)
      : std::runtime_error(detail), problem_(problem) {}
  HistoryProblem problem() const { return problem_; }

 private:
  HistoryProblem problem_;
};

// Which records to read: those of one marketplace, optionally of one keyword and
// one item address.
struct HistoryQuery {
  std::string marketplace;
  std::optional<std::string> keyword;
  std::optional<std::string> item_address;
};

class HistoryStore {
 public:
  static constexpr int kSchemaVersion = 1;
  // How long a write waits for another process's write to finish.
  static constexpr int kBusyTimeoutMs = 10000;

  // Opens the database, creating the file when it is missing, and brings its
  // schema up to date. Throws HistoryError.
  static std::unique_ptr<HistoryStore> open(const std::filesystem::path& file);
  // As open(), but a missing file gives null and is not created.
  static std::unique_ptr<HistoryStore> open_existing(const std::filesystem::path& file);

  // Adds the record unless one with the same time, marketplace, item key and
  // keyword is there; returns whether it was added. Throws HistoryError.
  bool add(const CheckRecord& record);

  // Matching records, oldest first. Throws HistoryError.
  std::vector<CheckRecord> records(const HistoryQuery& query);
  // Every record, oldest first. Throws HistoryError.
  void for_each_record(const std::function<void(const CheckRecord&)>& visit);

  // Runs `work` in one transaction: everything it adds is kept only if it returns
  // true; if it returns false or throws, nothing of it is written.
  bool in_transaction(const std::function<bool()>& work);

  explicit HistoryStore(std::unique_ptr<SqliteConnection> connection);

 private:
  std::unique_ptr<SqliteConnection> connection_;
  std::unique_ptr<SqliteStatement> insert_;
};

}  // namespace shop
