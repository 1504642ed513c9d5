// Opening the rank history of an item checked daily for ten years (3,650 checks).
#include <QApplication>

#include <QTableWidget>
#include "bench_timing.h"
#include "history/history_dialog.h"

#include "history/history_store.h"
#include "support/core/history_records.h"
#include "support/core/temp_dir.h"

using namespace shop;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::TempDir dir;
  const auto history = dir.file("h.db");
  {
    auto store = HistoryStore::open(history);
    store->in_transaction([&] {
      for (int day = 0; day < 3650; ++day) {
        store->add(day % 30 == 7    ? testing::not_within_record(day)
                   : day % 45 == 11 ? testing::failed_record(day)
                                    : testing::found_record(day, day % 120 + 1));
      }
      return true;
    });
  }

  HistoryDialog* dialog = nullptr;
  const double shown = bench::median_ms(
      11,
      [&] {
        delete dialog;
        dialog = nullptr;
      },
      [&] {
        dialog = new HistoryDialog(history, {"taobao", "连衣裙", "A"});
        dialog->show();
        QApplication::processEvents();
      });
  const bool complete = dialog->table()->rowCount() == 3650;
  delete dialog;
  if (!complete) {
    std::printf("the dialog did not show every check\n");
    return 1;
  }
  return bench::report_ms("open the history of 3650 checks", shown, 200) ? 0 : 1;
}
