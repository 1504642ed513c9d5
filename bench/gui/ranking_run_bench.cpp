// The ranking run through the window: a click on 按钮2 returns when the run is over.
#include <QApplication>

#include "bench_run_figures.h"
#include "bench_timing.h"
#include "support/core/fake_marketplace.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

using namespace shop;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  test_support::FakeMarketplace market;
  market.set_delay(std::chrono::milliseconds(bench::kRunAnswerMs));
  testing::WindowHarness harness;
  market.write_settings(harness.directory().path());
  testing::write_file(harness.directory().file("拍拍排名.txt"),
                      format_list_text(bench::run_rows()));
  harness.start();
  set_control_text(harness.form().组合框1, std::to_string(bench::run_page_count()));

  const double measured = bench::median_ms(
      bench::run_repetitions(), [] {}, [&] { harness.form().按钮2->click(); });
  const int exit_code = bench::report_run("the window", measured, 1.15, market.searches().size());
  harness.stop();
  return exit_code;
}
