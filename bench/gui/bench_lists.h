#pragma once
// A long tracking list for the benchmark programs, every row filled as after a run.

#include <string>
#include <vector>

#include "lists/list_file.h"
#include "support/core/temp_dir.h"

namespace shop::bench {

inline std::vector<TrackedItem> sample_rows(int count) {
  std::vector<TrackedItem> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    rows.push_back(
        {std::to_string(i), testing::gbk("连衣裙 夏季新款"),
         "http://auction1.paipai.com/search/0/9723820700000000040100000C465B4E-8B80.html",
         testing::gbk("2页第15个"), testing::gbk("不在10页内"), ""});
  }
  return rows;
}

}  // namespace shop::bench
