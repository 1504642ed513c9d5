#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/process_exit.h"
#include "app/working_directory_wait.h"
#include "cli/command_line.h"
#include "web/page_fetch.h"

namespace {

bool has_display() {
  const auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  shop::init_page_fetch();  // before any thread starts
  // --dir, --version, --help and the sub-commands; they need no display.
  if (const std::optional<int> exit_code = shop::run_command_line(argc, argv)) {
    return *exit_code;
  }
  if (!has_display()) {
    std::fprintf(stderr,
                 "shopkeeper: no display (DISPLAY unset); start it from a desktop session\n");
    return 1;
  }
  // Ties the window to the installed desktop entry (its name and icon on Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("shopkeeper"));
  QApplication application(argc, argv);
  // Held until the process ends: the window is the directory's one writer.
  auto* lock = new shop::WorkingDirectoryLock();
  if (!shop::wait_for_working_directory(*lock)) {
    return 0;
  }
  // The shared state lives as long as the process; it is never destroyed.
  auto* state = new shop::AppState();
  shop::MainWindow window(*state);
  window.show();
  application.exec();
  shop::end_process(0);
}
