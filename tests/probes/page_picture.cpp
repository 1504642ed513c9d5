// Renders the main window with a given page of 选择夹1 (and of 选择夹2) to a PNG file,
// for looking at the layout: page_picture OUT.png PAGE [INNER_PAGE]
#include <QApplication>
#include <QPixmap>

#include "app/app_state.h"
#include "app/main_window.h"
#include "support/core/temp_dir.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 3) {
    return 2;
  }
  shop::testing::TempWorkingDirectory directory;
  shop::AppState state;
  shop::MainWindow window(state);
  window.show();
  window.form().选择夹1->setCurrentIndex(std::atoi(argv[2]));
  if (argc > 3) {
    window.form().选择夹2->setCurrentIndex(std::atoi(argv[3]));
  }
  QCoreApplication::processEvents();
  return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
