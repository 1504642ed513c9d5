#pragma once
// The main of a Google Benchmark program that prints its targets first.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <initializer_list>

namespace shop::bench {

// Prints one line per target, then runs the registered benchmarks.
inline int run_benchmarks(int argc, char** argv, std::initializer_list<const char*> targets) {
  for (const char* target : targets) {
    std::printf("%s\n", target);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace shop::bench
