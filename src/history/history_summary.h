#pragma once
// What the history dialog shows of a series of checks, as plain values: the change
// against the previous check, the best position, and where the chart's bottom is.

#include <optional>
#include <string>
#include <vector>

#include "history/check_record.h"

namespace shop {

// For each check of one item (oldest first): "↑n" when it climbed n places since
// the previous check, "↓n" when it fell, "—" when it held or nothing compares. A
// failed check compares with nothing and is skipped as a previous check; a move
// into or out of "not within" has an arrow without a number.
std::vector<std::string> change_texts(const std::vector<CheckRecord>& checks);

// The found check with the smallest rank (the earliest of equals), if any.
std::optional<CheckRecord> best_check(const std::vector<CheckRecord>& checks);

// The rank the chart gives to "not within N pages": one below the deepest place
// that any of the checks could have found or did find.
std::int64_t not_within_rank(const std::vector<CheckRecord>& checks);

// The largest page count among the checks (for the "not within N pages" legend).
std::int64_t largest_page_count(const std::vector<CheckRecord>& checks);

}  // namespace shop
