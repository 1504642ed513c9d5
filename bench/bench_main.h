#pragma once
// The main of a benchmark program that prints its targets before the figures.

#include <benchmark/benchmark.h>

#include <cstdio>

namespace shop::bench {

// Prints `targets` (one or more lines), then runs the benchmarks named on the
// command line (all by default).
inline int run_benchmarks(int argc, char** argv, const char* targets) {
  std::fputs(targets, stdout);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace shop::bench
