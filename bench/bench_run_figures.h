#pragma once
// The ranking-run benchmarks' common case: 10 rows of 30 pages against a fake
// marketplace that answers every page after 100 ms, the item nowhere. Ten pages are
// fetched at once, so the ideal run takes 10 x ceil(30 / 10) x 100 ms = 3 s; the
// ratio to it shows what a front end adds (row hand-offs, noticing a row's end,
// reports, process start and files for the command line). A quick run (see
// bench_mode.h) takes 2 rows of 10 pages once.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_mode.h"
#include "lists/list_file.h"

namespace shop::bench {

inline constexpr int kRunAnswerMs = 100;

inline int run_row_count() {
  return sized(10, 2);
}
inline int run_page_count() {
  return sized(30, 10);
}
inline int run_repetitions() {
  return sized(3, 1);
}

inline std::vector<TrackedItem> run_rows() {
  std::vector<TrackedItem> rows;
  for (int i = 0; i < run_row_count(); ++i) {
    rows.push_back(
        {std::to_string(i), "keyword" + std::to_string(i),
         "http://auction1.paipai.com/search/0/9723820700000000040100000C465B4E-8B80.html", "", "",
         ""});
  }
  return rows;
}

inline double ideal_run_ms() {
  return run_row_count() * std::ceil(run_page_count() / 10.0) * kRunAnswerMs;
}

// Prints the figures, the last line being "ratio to ideal: X.XX"; returns the exit
// status of the benchmark program (a wrong request count always fails it).
inline int report_run(const char* front_end, double measured_ms, double target_ratio,
                      size_t requests) {
  const size_t expected =
      static_cast<size_t>(run_repetitions() * run_row_count() * run_page_count());
  if (requests != expected) {
    std::printf("unexpected request count: %zu (expected %zu)\n", requests, expected);
    return 1;
  }
  const double ratio = measured_ms / ideal_run_ms();
  std::printf(
      "ranking run through %s, %d rows x %d pages, %d ms per page: %.0f ms (median of %d)\n",
      front_end, run_row_count(), run_page_count(), kRunAnswerMs, measured_ms, run_repetitions());
  std::printf("ideal: %.0f ms\n", ideal_run_ms());
  std::printf("target: ratio <= %.2f%s\n", target_ratio, ratio <= target_ratio ? "" : "  MISSED");
  std::printf("ratio to ideal: %.2f\n", ratio);
  return targets_status(ratio <= target_ratio);
}

}  // namespace shop::bench
