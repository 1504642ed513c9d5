#pragma once
// History records for tests and benchmarks.

#include <cstdint>
#include <string>

#include "history/check_record.h"

namespace shop::testing {

// The time of the n-th of a series of daily checks, from 2020-01-01.
std::string daily_time(std::int64_t day);

// A found check of one item on day `day`: page and place from `rank`.
CheckRecord found_record(std::int64_t day, std::int64_t rank, std::string item_address = "A",
                         std::string keyword = "连衣裙");
CheckRecord not_within_record(std::int64_t day, std::string item_address = "A",
                              std::string keyword = "连衣裙");
CheckRecord failed_record(std::int64_t day, std::string item_address = "A",
                          std::string keyword = "连衣裙");

}  // namespace shop::testing
