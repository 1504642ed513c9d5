// The rank history with 100,000 records: recording one more row's outcome as a
// run does, and the CSV export and import of all of them.
#include <cstdio>
#include <filesystem>

#include "gui/bench_timing.h"
#include "history/history_csv.h"
#include "history/history_recorder.h"
#include "history/history_store.h"
#include "support/core/history_records.h"
#include "support/core/temp_dir.h"

using namespace shop;

namespace {

constexpr int kRecords = 100000;

// 100,000 records: 100 items checked daily for 1,000 days.
void fill_history(const std::filesystem::path& file) {
  auto store = HistoryStore::open(file);
  store->in_transaction([&] {
    for (int i = 0; i < kRecords; ++i) {
      const std::string item = "item-" + std::to_string(i % 100);
      const int day = i / 100;
      store->add(i % 10 == 9   ? testing::not_within_record(day, item)
                 : i % 25 == 3 ? testing::failed_record(day, item)
                               : testing::found_record(day, i % 397 + 1, item));
    }
    return true;
  });
}

}  // namespace

int main() {
  testing::TempDir dir;
  const auto history = dir.file("h.db");
  fill_history(history);

  bool met = true;
  {
    HistoryRecorder recorder(history, [](const Text& message) {
      std::printf("history problem: %s\n", message.c_str());
    });
    int n = 0;
    FinishedRow row;
    row.marketplace = kTaobaoName;
    row.item_address = "http://item.taobao.com/item.htm?id=1";
    row.page_count = 10;
    row.outcome = CheckOutcome::found;
    row.page = 2;
    row.place = 7;
    row.result_text = "2";
    const double record = bench::median_ms(
        401, [&] { row.keyword = "k" + std::to_string(n++); }, [&] { recorder.record(row); });
    met &= bench::report_ms("record a row's outcome with 100000 records", record, 1);
  }

  const auto csv = dir.file("all.csv");
  const double exported = bench::median_ms(
      3, [] {}, [&] { export_history_csv(history, csv); });
  met &= bench::report_ms("export 100000 records", exported, 1000);

  int run = 0;
  std::filesystem::path target;
  CsvResult imported_result;
  const double imported = bench::median_ms(
      3, [&] { target = dir.file("imported-" + std::to_string(run++) + ".db"); },
      [&] { imported_result = import_history_csv(target, csv); });
  if (imported_result.records < kRecords) {
    std::printf("import added %lld records\n", static_cast<long long>(imported_result.records));
    return 1;
  }
  met &= bench::report_ms("import 100000 records", imported, 3000);
  return met ? 0 : 1;
}
