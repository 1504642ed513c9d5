// Add on a tracking list of 10,000 rows, which rewrites the whole list file.
#include <QApplication>
#include <QTest>

#include "app/main_window.h"
#include "bench_lists.h"
#include "bench_timing.h"
#include "lists/list_file.h"
#include "support/core/temp_dir.h"

using namespace shop;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::TempWorkingDirectory directory;

  const std::vector<TrackedItem> rows = bench::sample_rows(bench::sized(10000, 100));

  AppState state;
  MainWindow window(state);
  TrackingListView& list = *window.form().超级列表框1;
  const double add = bench::median_ms(
      21,
      [&] {
        list.remove_all_rows();
        list.append_rows(rows);
      },
      [&] { QTest::mouseClick(window.form().按钮1, Qt::LeftButton); });
  if (parse_list_text(testing::read_file(directory.file("拍拍排名.txt"))).size() !=
      rows.size() + 1) {
    std::printf("the add was not saved\n");
    return 1;
  }
  return bench::report_ms("add to a list of 10000 rows", add, 30) ? 0 : 1;
}
