// One keystroke in 编辑框1, stored at once to a control-state file of 200 keys.
#include <QApplication>
#include <QTest>

#include "app/main_window.h"
#include "bench_timing.h"
#include "support/core/temp_dir.h"

using namespace shop;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::TempWorkingDirectory directory;

  // 200 keys, foreign ones spread over the four sections, the stored box's key last.
  Text state_file;
  for (const char* section : {"组合框", "单选框", "选择框", "编辑框"}) {
    state_file += "[" + testing::gbk(section) + "]\r\n";
    for (int i = 0; i < 50; ++i) {
      state_file += testing::gbk("控件") + std::to_string(i) + "=" + Text(40, 'v') + "\r\n";
    }
  }
  const auto path = directory.file("排名.txt");
  testing::write_file(path, state_file);

  AppState state;
  MainWindow window(state);
  const double keystroke = bench::median_ms(
      101, [] {}, [&] { QTest::keyClick(window.form().编辑框1, Qt::Key_A); });
  if (testing::read_file(path).find(testing::gbk("编辑框1=连衣裙aaa")) == Text::npos) {
    std::printf("the keystrokes were not stored\n");
    return 1;
  }
  return bench::report_ms("keystroke stored, 200-key control-state file", keystroke, 2) ? 0 : 1;
}
