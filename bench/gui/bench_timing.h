#pragma once
// Median timing for the benchmark programs that measure whole operations of the
// window, printing each figure beside its target.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench_mode.h"

namespace shop::bench {

// Runs `prepare` (untimed) and `operation` (timed) `runs` times (once in a quick
// run); the median in ms.
inline double median_ms(int runs, const std::function<void()>& prepare,
                        const std::function<void()>& operation) {
  std::vector<double> times;
  runs = sized(runs, 1);
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    operation();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Prints "what: X ms (target <= T ms)" and returns whether the target was met (always
// in a quick run, whose figures mean nothing).
inline bool report_ms(const char* what, double measured, double target) {
  std::printf("%s: %.2f ms (target <= %.0f ms)%s\n", what, measured, target,
              measured <= target ? "" : "  MISSED");
  return measured <= target || quick_mode();
}

}  // namespace shop::bench
