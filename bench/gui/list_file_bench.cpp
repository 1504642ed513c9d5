// Loading and saving a tracking list of 10,000 rows, and start-up to the shown window.
#include <QApplication>
#include <memory>

#include "app/main_window.h"
#include "bench_lists.h"
#include "bench_timing.h"
#include "lists/list_file.h"
#include "lists/list_store.h"
#include "support/core/temp_dir.h"

using namespace shop;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::TempWorkingDirectory directory;

  const std::vector<TrackedItem> rows = bench::sample_rows(bench::sized(10000, 100));
  const auto path = directory.file("拍拍排名.txt");
  testing::write_file(path, format_list_text(rows));

  TrackingListView view;
  view.set_columns({{"id", 50}, {"k", 80}, {"u", 300}, {"p", 80}, {"q", 80}, {"r", 80}});
  const double load = bench::median_ms(
      7, [&] { view.remove_all_rows(); }, [&] { load_list_file(view, path); });
  const double save = bench::median_ms(
      7, [] {}, [&] { save_list_file(view, directory.file("copy.txt")); });
  std::filesystem::remove(path);

  std::unique_ptr<AppState> state;
  std::unique_ptr<MainWindow> window;
  const double start_up = bench::median_ms(
      7,
      [&] {
        window.reset();
        state.reset();
      },
      [&] {
        state = std::make_unique<AppState>();
        window = std::make_unique<MainWindow>(*state);
        window->show();
        QCoreApplication::processEvents();
      });

  bool met = bench::report_ms("load_list_file, 10000 rows", load, 150);
  met = bench::report_ms("save_list_file, 10000 rows", save, 50) && met;
  met = bench::report_ms("start-up to window shown", start_up, 300) && met;
  return bench::targets_status(met);
}
