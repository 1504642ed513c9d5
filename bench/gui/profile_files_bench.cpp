// Reading the settings and restoring the window's inputs from INI files of millions
// of empty lines: one beyond the size cap of an INI file (every key takes its
// default) and one just within it (read line by line for every key).
#include <QApplication>
#include <cstdio>

#include "app/main_window.h"
#include "app/private_profile.h"
#include "app/settings.h"
#include "bench_timing.h"
#include "support/core/temp_dir.h"
#include "ui/control_text.h"
#include "ui/message.h"

using namespace shop;

namespace {

constexpr double kTargetMs = 1000;

Text empty_lines(size_t bytes) {
  Text text;
  text.reserve(bytes);
  while (text.size() + 2 <= bytes) {
    text += "\r\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  set_message_sink([](const Message&) {});
  testing::TempWorkingDirectory directory;

  struct Case {
    const char* name;
    size_t bytes;
  };
  const Case cases[] = {
      {"10 MB of empty lines", bench::sized<size_t>(10'000'000, 2 * kProfileFileSizeLimit)},
      {"empty lines up to the cap", bench::sized<size_t>(kProfileFileSizeLimit, 100'000)},
  };
  bool met = true;
  for (const Case& c : cases) {
    const Text key = "[" + testing::gbk("编辑框") + "]\r\n" + testing::gbk("编辑框1") + "=X\r\n";
    const Text content = empty_lines(c.bytes - key.size()) + key;
    testing::write_file(directory.file("店长设置.ini"), content);
    testing::write_file(directory.file("排名.txt"), content);

    const double settings = bench::median_ms(
        5, [] {}, [&] { load_settings(directory.file("店长设置.ini")); });
    AppState state;
    MainWindow window(state);
    const double restore = bench::median_ms(
        5, [] {}, [&] { state.control_state.restore_all(); });

    const bool within_cap = content.size() <= kProfileFileSizeLimit;
    const Text restored = control_text(window.form().编辑框1);
    if ((restored == "X") != within_cap) {
      std::printf("%s: 编辑框1 restored as \"%s\"\n", c.name, restored.c_str());
      return 1;
    }
    std::printf("%s (%zu bytes):\n", c.name, content.size());
    met = bench::report_ms("  settings read", settings, kTargetMs) && met;
    met = bench::report_ms("  input restore", restore, kTargetMs) && met;
  }
  return bench::targets_status(met);
}
