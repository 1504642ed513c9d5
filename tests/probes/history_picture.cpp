// Shows the rank-history dialog of two items under one keyword, three months of
// daily checks, for a picture of it: history_picture (stays open until ended)
#include <QApplication>
#include <cmath>

#include "history/history_dialog.h"
#include "history/history_store.h"
#include "support/core/history_records.h"
#include "support/core/temp_dir.h"

using namespace shop;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  testing::TempDir dir;
  const auto history = dir.file("h.db");
  {
    auto store = HistoryStore::open(history);
    const std::string a = "http://item.taobao.com/item.htm?id=20871";
    const std::string b = "http://item.taobao.com/item.htm?id=33410";
    // The item keys as the scan takes them from the addresses.
    const auto add = [&](CheckRecord record) {
      record.item_key = record.item_address.substr(record.item_address.find("id=") + 3);
      store->add(record);
    };
    for (int day = 2100; day < 2190; ++day) {
      const int t = day - 2100;
      const auto rank_a = static_cast<std::int64_t>(70 - t * 0.6 + 6 * std::sin(t / 3.0));
      if (t == 20 || t == 21) {
        add(testing::not_within_record(day, a));
      } else if (t == 47 || t == 70) {
        add(testing::failed_record(day, a));
      } else {
        add(testing::found_record(day, std::max<std::int64_t>(rank_a, 1), a));
      }
      const auto rank_b = static_cast<std::int64_t>(160 + t * 1.5 + 10 * std::cos(t / 4.0));
      if (t >= 80) {
        add(testing::not_within_record(day, b));
      } else {
        add(testing::found_record(day, rank_b, b));
      }
    }
  }
  HistoryDialog dialog(history, {"taobao", "连衣裙", "http://item.taobao.com/item.htm?id=20871"});
  dialog.move(0, 0);
  dialog.show_whole_keyword(argc > 1);
  dialog.show();
  return application.exec();
}
