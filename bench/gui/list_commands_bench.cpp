// Add on a tracking list of 10,000 rows, which rewrites the whole list file.
#include <QApplication>
#include <QTest>

#include "app/main_window.h"
#include "bench_timing.h"
#include "lists/list_file.h"
#include "support/core/temp_dir.h"

using namespace shop;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::TempWorkingDirectory directory;

  std::vector<TrackedItem> rows;
  for (int i = 0; i < 10000; ++i) {
    rows.push_back(
        {std::to_string(i), testing::gbk("连衣裙 夏季新款"),
         "http://auction1.paipai.com/search/0/9723820700000000040100000C465B4E-8B80.html",
         testing::gbk("2页第15个"), testing::gbk("不在10页内"), ""});
  }

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
  if (parse_list_text(testing::read_file(directory.file("拍拍排名.txt"))).size() != 10001) {
    std::printf("the add was not saved\n");
    return 1;
  }
  return bench::report_ms("add to a list of 10000 rows", add, 30) ? 0 : 1;
}
