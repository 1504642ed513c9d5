#pragma once
// The main of a Google Benchmark program that prints its targets first.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "bench_mode.h"

namespace shop::bench {

// Prints one line per target, then runs the registered benchmarks; a quick run gives
// each benchmark a few iterations only.
inline int run_benchmarks(int argc, char** argv, std::initializer_list<const char*> targets) {
  for (const char* target : targets) {
    std::printf("%s\n", target);
  }
  std::vector<char*> arguments(argv, argv + argc);
  std::string min_time = "--benchmark_min_time=0.001";
  if (quick_mode()) {
    arguments.push_back(min_time.data());
  }
  argc = static_cast<int>(arguments.size());
  argv = arguments.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace shop::bench
