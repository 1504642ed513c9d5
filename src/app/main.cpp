#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/process_exit.h"
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
  if (!has_display()) {
    std::fprintf(stderr,
                 "shopkeeper: no display (DISPLAY unset); start it from a desktop session\n");
    return 1;
  }
  shop::init_page_fetch();  // before any thread starts
  QApplication application(argc, argv);
  // The shared state lives as long as the process; it is never destroyed.
  auto* state = new shop::AppState();
  shop::MainWindow window(*state);
  window.show();
  application.exec();
  shop::end_process(0);
}
