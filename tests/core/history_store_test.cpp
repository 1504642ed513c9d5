#include "history/history_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "history/history_recorder.h"
#include "history/sqlite_db.h"
#include "support/core/history_records.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using testing::failed_record;
using testing::found_record;
using testing::not_within_record;

std::int64_t pragma(const std::filesystem::path& file, const char* sql) {
  SqliteConnection db(file, SQLITE_OPEN_READONLY);
  return db.query_integer(sql);
}

TEST(HistoryStore, KeepsEveryOutcomeAcrossReopening) {
  testing::TempDir dir;
  const auto file = dir.file("h.db");
  EXPECT_EQ(HistoryStore::open_existing(file), nullptr);
  EXPECT_FALSE(std::filesystem::exists(file)) << "reading must not create the file";

  const std::vector<CheckRecord> written = {found_record(0, 43), not_within_record(1),
                                            failed_record(2), found_record(3, 1, "B")};
  {
    auto store = HistoryStore::open(file);
    for (const CheckRecord& record : written) {
      EXPECT_TRUE(store->add(record));
    }
    EXPECT_FALSE(store->add(written[0])) << "same time, marketplace, item key and keyword";
  }
  auto store = HistoryStore::open_existing(file);
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->records({"taobao", std::nullopt, std::nullopt}), written);
  EXPECT_EQ(store->records({"taobao", std::string("连衣裙"), std::string("B")}),
            std::vector<CheckRecord>{written[3]});
  EXPECT_TRUE(store->records({"paipai", std::nullopt, std::nullopt}).empty());
  EXPECT_EQ(pragma(file, "PRAGMA user_version"), HistoryStore::kSchemaVersion);
}

TEST(HistoryStore, MigratesAnEmptyFileToTheCurrentSchemaInWalMode) {
  testing::TempDir dir;
  const auto file = dir.file("h.db");
  testing::write_file(file, "");
  HistoryStore::open(file)->add(found_record(0, 5));
  EXPECT_EQ(pragma(file, "PRAGMA user_version"), HistoryStore::kSchemaVersion);
  SqliteConnection db(file, SQLITE_OPEN_READONLY);
  SqliteStatement mode(db, "PRAGMA journal_mode");
  ASSERT_TRUE(mode.step());
  EXPECT_EQ(mode.text(0), "wal");
}

std::string newer_database(const std::filesystem::path& file) {
  {
    SqliteConnection db(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    db.execute("CREATE TABLE checks (x); PRAGMA user_version = 99");
  }
  return testing::read_file(file);
}

std::string foreign_database(const std::filesystem::path& file) {
  {
    SqliteConnection db(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    db.execute("CREATE TABLE notes (text)");
  }
  return testing::read_file(file);
}

struct UnusableCase {
  const char* name;
  std::string (*make)(const std::filesystem::path&);
  HistoryProblem problem;
};

class UnusableHistory : public ::testing::TestWithParam<UnusableCase> {};

// Such a file stays byte for byte as it was; the run is told once and goes on.
TEST_P(UnusableHistory, IsLeftUntouchedAndReportedOnce) {
  testing::TempDir dir;
  const auto file = dir.file("h.db");
  const std::string before = GetParam().make(file);
  try {
    HistoryStore::open(file);
    ADD_FAILURE() << "opened";
  } catch (const HistoryError& error) {
    EXPECT_EQ(error.problem(), GetParam().problem);
  }

  std::vector<Text> reports;
  HistoryRecorder recorder(file, [&](const Text& message) { reports.push_back(message); });
  for (int day = 0; day < 3; ++day) {
    recorder.record(found_record(day, 1));
  }
  EXPECT_EQ(reports, std::vector<Text>{history_problem_message(GetParam().problem)});
  EXPECT_EQ(testing::read_file(file), before);
  EXPECT_FALSE(std::filesystem::exists(file.string() + "-wal"));
}

INSTANTIATE_TEST_SUITE_P(Cases, UnusableHistory,
                         ::testing::Values(UnusableCase{"TextFile",
                                                        [](const std::filesystem::path& file) {
                                                          const std::string text =
                                                              "not a database, just some text\n";
                                                          testing::write_file(file, text);
                                                          return text;
                                                        },
                                                        HistoryProblem::not_a_database},
                                           UnusableCase{"OtherProgramsDatabase", foreign_database,
                                                        HistoryProblem::not_a_database},
                                           UnusableCase{"NewerVersion", newer_database,
                                                        HistoryProblem::newer_version}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HistoryRecorder, CreatesTheFileOnlyWithTheFirstRecord) {
  testing::TempDir dir;
  const auto file = dir.file("h.db");
  HistoryRecorder recorder(file, [](const Text&) { ADD_FAILURE() << "reported"; });
  EXPECT_FALSE(std::filesystem::exists(file));
  recorder.record(not_within_record(0));
  EXPECT_EQ(HistoryStore::open_existing(file)->records({"taobao", {}, {}}).size(), 1u);
}

TEST(HistoryRecorder, AFileThatCannotBeOpenedIsReportedOnceAndLaterRowsStillLand) {
  testing::TempDir dir;
  const auto file = dir.file("h.db");
  std::filesystem::create_directory(file);  // stands where the database should be
  int reports = 0;
  HistoryRecorder recorder(file, [&](const Text&) { ++reports; });
  recorder.record(found_record(0, 1));
  recorder.record(found_record(1, 1));
  EXPECT_EQ(reports, 1);
  std::filesystem::remove(file);
  recorder.record(found_record(2, 1));
  EXPECT_EQ(HistoryStore::open_existing(file)->records({"taobao", {}, {}}).size(), 1u);
}

// A window and a command-line run finishing rows at the same moment: both land.
TEST(HistoryRecorder, TwoProcessesRecordingAtOnceLoseNothing) {
  testing::TempDir dir;
  const auto file = dir.file("h.db");
  constexpr int kRecordsEach = 300;
  std::vector<pid_t> children;
  for (const char* item : {"A", "B"}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int reports = 0;
      HistoryRecorder recorder(file, [&](const Text&) { ++reports; });
      for (int day = 0; day < kRecordsEach; ++day) {
        recorder.record(found_record(day, day % 7 + 1, item));
      }
      _exit(reports == 0 ? 0 : 1);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a record was not written";
  }
  EXPECT_EQ(HistoryStore::open_existing(file)->records({"taobao", {}, {}}).size(),
            2u * kRecordsEach);
}

TEST(CheckRecord, IsMadeFromTheFinishedRowInUtf8WithItsRank) {
  FinishedRow row;
  row.marketplace = kTaobaoName;
  row.keyword = testing::gbk("连衣裙");
  row.item_address = "http://item.taobao.com/item.htm?spm=a&id=12345";
  row.sort_choice = "&sort=credit-desc";
  row.page_count = 10;
  row.outcome = CheckOutcome::found;
  row.page = 2;
  row.place = 3;
  row.result_text = testing::gbk("2页第3个");
  const CheckRecord record = make_check_record(row, "2026-12-11T08:00:00.000Z");
  EXPECT_EQ(record.keyword, "连衣裙");
  EXPECT_EQ(record.result_text, "2页第3个");
  EXPECT_EQ(record.item_key, "12345");
  EXPECT_EQ(record.rank, 43);

  row.marketplace = kPaipaiName;
  row.item_address = "http://auction1.paipai.com/9723820700000000040100000C465B4E";
  row.outcome = CheckOutcome::not_within;
  const CheckRecord not_within = make_check_record(row, "2026-12-11T08:00:00.000Z");
  EXPECT_EQ(not_within.item_key, "9723820700000000040100000C465B4E");
  EXPECT_EQ(not_within.rank, std::nullopt);
  EXPECT_EQ(not_within.page, std::nullopt);
}

}  // namespace
}  // namespace shop
