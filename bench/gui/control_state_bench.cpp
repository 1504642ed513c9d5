// One keystroke in 编辑框1, stored at once to a control-state file of 200 keys.
#include <QApplication>
#include <QTest>

#include "app/main_window.h"
#include "app/private_profile.h"
#include "bench_timing.h"
#include "support/core/temp_dir.h"
#include "ui/control_text.h"

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
  QLineEdit* box = window.form().编辑框1;
  // The box shows its text from the beginning: type behind it, as a user would.
  QTest::keyClick(box, Qt::Key_End);
  const Text before = control_text(box);
  int typed = 0;
  const double keystroke = bench::median_ms(
      101, [] {},
      [&] {
        QTest::keyClick(box, Qt::Key_A);
        ++typed;
      });
  const Text expected = before + Text(static_cast<size_t>(typed), 'a');
  const Text stored =
      read_profile_string(path, testing::gbk("编辑框"), testing::gbk("编辑框1"), "(none)");
  if (control_text(box) != expected || stored != expected) {
    std::printf("the keystrokes were not stored: the box holds \"%s\", the file \"%s\"\n",
                control_text(box).c_str(), stored.c_str());
    return 1;
  }
  return bench::targets_status(
      bench::report_ms("keystroke stored, 200-key control-state file", keystroke, 2));
}
