#pragma once
// The ranking-run benchmarks' common case: 10 rows of 30 pages against a fake
// marketplace that answers every page after 100 ms, the item nowhere. Ten pages are
// fetched at once, so the ideal run takes 10 x ceil(30 / 10) x 100 ms = 3 s; the
// ratio to it shows what a front end adds (row hand-offs, noticing a row's end,
// reports, process start and files for the command line).

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "lists/list_file.h"

namespace shop::bench {

inline constexpr int kRunRows = 10;
inline constexpr int kRunPages = 30;
inline constexpr int kRunAnswerMs = 100;

inline std::vector<TrackedItem> run_rows() {
  std::vector<TrackedItem> rows;
  for (int i = 0; i < kRunRows; ++i) {
    rows.push_back(
        {std::to_string(i), "keyword" + std::to_string(i),
         "http://auction1.paipai.com/search/0/9723820700000000040100000C465B4E-8B80.html", "", "",
         ""});
  }
  return rows;
}

inline double ideal_run_ms() {
  return kRunRows * std::ceil(kRunPages / 10.0) * kRunAnswerMs;
}

// Prints the figures, the last line being "ratio to ideal: X.XX"; returns the exit
// code of the benchmark program (1 when the target is missed or the request count
// is wrong).
inline int report_run(const char* front_end, double measured_ms, double target_ratio,
                      size_t requests, size_t expected_requests) {
  if (requests != expected_requests) {
    std::printf("unexpected request count: %zu (expected %zu)\n", requests, expected_requests);
    return 1;
  }
  const double ratio = measured_ms / ideal_run_ms();
  std::printf("ranking run through %s, %d rows x %d pages, %d ms per page: %.0f ms (median of 3)\n",
              front_end, kRunRows, kRunPages, kRunAnswerMs, measured_ms);
  std::printf("ideal: %.0f ms\n", ideal_run_ms());
  std::printf("target: ratio <= %.2f%s\n", target_ratio, ratio <= target_ratio ? "" : "  MISSED");
  std::printf("ratio to ideal: %.2f\n", ratio);
  return ratio <= target_ratio ? 0 : 1;
}

}  // namespace shop::bench
