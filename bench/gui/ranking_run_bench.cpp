// A whole ranking run against a marketplace that answers every page after 100 ms:
// 10 rows, 30 pages each, the item nowhere. Ten pages are fetched at once, so the
// ideal run takes 10 x ceil(30 / 10) x 100 ms = 3 s; the ratio shows what the run
// adds to that (row hand-offs, noticing a row's end, control updates).
#include <QApplication>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "bench_timing.h"
#include "lists/list_file.h"
#include "support/core/fake_marketplace.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

using namespace shop;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int kRows = bench::sized(10, 2);
  const int kPages = bench::sized(30, 10);
  constexpr int kAnswerMs = 100;

  test_support::FakeMarketplace market;
  market.set_delay(std::chrono::milliseconds(kAnswerMs));
  testing::WindowHarness harness;
  market.write_settings(harness.directory().path());
  std::vector<TrackedItem> rows;
  for (int i = 0; i < kRows; ++i) {
    rows.push_back(
        {std::to_string(i), "keyword" + std::to_string(i),
         "http://auction1.paipai.com/search/0/9723820700000000040100000C465B4E-8B80.html", "", "",
         ""});
  }
  testing::write_file(harness.directory().file("拍拍排名.txt"), format_list_text(rows));
  harness.start();
  set_control_text(harness.form().组合框1, std::to_string(kPages));

  const double measured = bench::median_ms(
      3, [] {}, [&] { harness.form().按钮2->click(); });
  const double ideal = kRows * std::ceil(kPages / 10.0) * kAnswerMs;
  const size_t expected_requests = static_cast<size_t>(bench::sized(3, 1) * kRows * kPages);
  if (market.searches().size() != expected_requests) {
    std::printf("unexpected request count: %zu (expected %zu)\n", market.searches().size(),
                expected_requests);
    return 1;
  }
  std::printf("ranking run, %d rows x %d pages, %d ms per page: %.0f ms (median of 3)\n", kRows,
              kPages, kAnswerMs, measured);
  std::printf("ideal: %.0f ms\n", ideal);
  const double ratio = measured / ideal;
  std::printf("target: ratio <= 1.15%s\n", ratio <= 1.15 ? "" : "  MISSED");
  std::printf("ratio to ideal: %.2f\n", ratio);
  harness.stop();
  return bench::targets_status(ratio <= 1.15);
}
