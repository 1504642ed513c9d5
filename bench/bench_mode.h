#pragma once
// Full and quick runs of the benchmark programs. `make test` runs every program once
// with SHOP_BENCH_QUICK set: tiny sizes, one repetition, to show that it still runs
// to its end. Quick figures mean nothing, so a missed target fails only a full run;
// a program that cannot do its work (a wrong result, a failed set-up) fails both.

#include <cstdlib>

namespace shop::bench {

inline bool quick_mode() {
  const char* value = std::getenv("SHOP_BENCH_QUICK");
  return value != nullptr && *value != '\0' && *value != '0';
}

// `full` in a full run, `quick` in a quick one.
template <class T>
T sized(T full, T quick) {
  return quick_mode() ? quick : full;
}

// The exit status for the targets of a run.
inline int targets_status(bool met) {
  return met || quick_mode() ? 0 : 1;
}

}  // namespace shop::bench
