#include "history/history_csv.h"

#include <gtest/gtest.h>

#include "history/history_store.h"
#include "support/core/history_records.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using testing::failed_record;
using testing::found_record;
using testing::gbk;
using testing::not_within_record;

const std::string kHeader =
    "time,marketplace,keyword,item_address,item_key,sort_choice,page_count,outcome,page,place,"
    "result_text,rank\r\n";

std::vector<CheckRecord> all_records(const std::filesystem::path& history) {
  auto store = HistoryStore::open_existing(history);
  std::vector<CheckRecord> records;
  if (store) {
    store->for_each_record([&](const CheckRecord& record) { records.push_back(record); });
  }
  return records;
}

// Texts that need quoting: separators, quotes, line breaks, blanks at the ends.
std::vector<CheckRecord> awkward_records() {
  CheckRecord quoted = found_record(0, 43, "http://x/?a=1,b=\"2\"", "连衣裙 \"夏\",新款");
  quoted.result_text = "line one\r\nline two\n";
  CheckRecord blanks = not_within_record(1, "  spaced  ", " 毛衣 ");
  blanks.sort_choice = "&sort=credit-desc";
  return {quoted, blanks, failed_record(2), found_record(3, 1, "B")};
}

std::filesystem::path history_with(const testing::TempDir& dir,
                                   const std::vector<CheckRecord>& records) {
  const auto history = dir.file("h.db");
  auto store = HistoryStore::open(history);
  for (const CheckRecord& record : records) {
    store->add(record);
  }
  return history;
}

TEST(HistoryCsv, ExportThenImportIntoAnEmptyHistoryGivesTheSameRecords) {
  testing::TempDir from;
  const std::vector<CheckRecord> records = awkward_records();
  const auto csv = from.file("out.csv");
  const CsvResult exported = export_history_csv(history_with(from, records), csv);
  ASSERT_TRUE(exported.ok) << exported.problem;
  EXPECT_EQ(exported.records, 4);
  const std::string bytes = testing::read_file(csv);
  EXPECT_EQ(bytes.substr(0, 3 + kHeader.size()), "\xEF\xBB\xBF" + kHeader);

  testing::TempDir to;
  const CsvResult imported = import_history_csv(to.file("h.db"), csv);
  ASSERT_TRUE(imported.ok) << imported.problem;
  EXPECT_EQ(imported.records, 4);
  EXPECT_EQ(all_records(to.file("h.db")), records);
}

TEST(HistoryCsv, ImportingTheSameFileTwiceAddsNothing) {
  testing::TempDir dir;
  const auto csv = dir.file("out.csv");
  ASSERT_TRUE(export_history_csv(history_with(dir, awkward_records()), csv).ok);
  const auto target = dir.file("other.db");
  HistoryStore::open(target)->add(found_record(3, 1, "B"));  // already there

  const CsvResult first = import_history_csv(target, csv);
  EXPECT_EQ(first.records, 3);
  EXPECT_EQ(first.skipped, 1);
  const CsvResult second = import_history_csv(target, csv);
  EXPECT_TRUE(second.ok);
  EXPECT_EQ(second.records, 0);
  EXPECT_EQ(second.skipped, 4);
  EXPECT_EQ(all_records(target).size(), 4u);
}

TEST(HistoryCsv, ExportOfAMissingHistoryIsTheHeaderAlone) {
  testing::TempDir dir;
  ASSERT_TRUE(export_history_csv(dir.file("h.db"), dir.file("out.csv")).ok);
  EXPECT_EQ(testing::read_file(dir.file("out.csv")), "\xEF\xBB\xBF" + kHeader);
  EXPECT_FALSE(std::filesystem::exists(dir.file("h.db")));
}

const std::string kGoodLine = "2026-01-02T03:04:05.000Z,taobao,k,A,1,,10,found,2,3,2页第3个,43\r\n";

struct MalformedCase {
  const char* name;
  std::string file;
  std::string problem;  // UTF-8
};

class MalformedCsv : public ::testing::TestWithParam<MalformedCase> {};

// The whole file is refused: neither a new history file nor a record of it.
TEST_P(MalformedCsv, AddsNothingAndNamesTheLine) {
  testing::TempDir dir;
  const auto csv = dir.file("in.csv");
  testing::write_file(csv, GetParam().file);

  const CsvResult into_nothing = import_history_csv(dir.file("new.db"), csv);
  EXPECT_FALSE(into_nothing.ok);
  EXPECT_EQ(into_nothing.problem, gbk(GetParam().problem));
  EXPECT_FALSE(std::filesystem::exists(dir.file("new.db")));

  const auto history = history_with(dir, {found_record(9, 1)});
  EXPECT_FALSE(import_history_csv(history, csv).ok);
  EXPECT_EQ(all_records(history).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedCsv,
    ::testing::Values(
        MalformedCase{"QuoteNotClosed", kHeader + kGoodLine + "\"2026,taobao\r\nmore\r\n",
                      "第3行：引号不成对，文件未导入"},
        MalformedCase{"StrayQuote", kHeader + kGoodLine + kGoodLine + "a\"b,c\r\n",
                      "第4行：引号不成对，文件未导入"},
        MalformedCase{"FieldMissing", kHeader + kGoodLine + "2026-01-02T03:04:05Z,taobao\r\n",
                      "第3行：列数与表头不符，文件未导入"},
        MalformedCase{"NotUtf8", kHeader + kGoodLine + kGoodLine + gbk(kGoodLine),
                      "第4行：不是UTF-8编码，文件未导入"},
        MalformedCase{"BadOutcome", kHeader + "2026-01-02T03:04:05Z,taobao,k,A,1,,10,lost,,,x,\r\n",
                      "第2行：取值不对，文件未导入：outcome"},
        MalformedCase{"FoundWithoutPlace",
                      kHeader + "2026-01-02T03:04:05Z,taobao,k,A,1,,10,found,2,,x,\r\n",
                      "第2行：取值不对，文件未导入：place"},
        MalformedCase{"BadTime", kHeader + "yesterday,taobao,k,A,1,,10,failed,,,x,\r\n",
                      "第2行：取值不对，文件未导入：time"},
        // A quoted line break makes one record of two physical lines.
        MalformedCase{"LineCountedAfterQuotedBreak",
                      kHeader + "2026-01-02T03:04:05Z,taobao,\"a\r\nb\",A,1,,10,failed,,,x,\r\n" +
                          "2026-01-02T03:04:05Z,paipai,k,A,1,,ten,failed,,,x,\r\n",
                      "第4行：取值不对，文件未导入：page_count"},
        MalformedCase{"MissingColumns", "time,marketplace,keyword\r\n",
                      "第1行：缺少列，文件未导入：item_address, item_key, sort_choice, "
                      "page_count, outcome, page, place, result_text, rank"},
        MalformedCase{"Empty", "", "第1行：缺少列，文件未导入："}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace shop
