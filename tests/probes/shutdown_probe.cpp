// Opens the main window, starts worker threads and a friend-link check that are in
// the middle of page fetches from a server that never answers, then closes the
// window. The process must end at once with exit code 0, without crashing in the
// destructors of live objects.
#include <QApplication>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/app_state.h"
#include "app/main_window.h"
#include "support/core/temp_dir.h"
#include "ui/control_text.h"
#include "web/page_fetch.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  static shop::testing::TempWorkingDirectory directory;
  auto* state = new shop::AppState();
  shop::MainWindow window(*state);
  window.show();

  // A server that accepts connections but never answers.
  static std::atomic<int> fetching{0};
  const char* address = argc > 1 ? argv[1] : "http://127.0.0.1:9/";
  for (int i = 0; i < 4; ++i) {
    std::thread([address] {
      ++fetching;
      shop::PageRequest request;
      request.address = address;
      shop::fetch_page(request);
    }).detach();
  }
  // A friend-link check of a shop on that server is under way too.
  shop::set_control_text(window.form().店铺地址, address);
  window.form().按钮_友情检测->click();
  QTimer::singleShot(300, &window, [&window] { window.close(); });
  application.exec();
  return 3;  // reached only if closing the window did not end the process
}
