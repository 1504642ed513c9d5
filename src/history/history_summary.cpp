#include "history/history_summary.h"

#include <algorithm>

#include "web/system_texts.h"
#include "web/unicode_text.h"

namespace shop {
namespace {

const std::string kUp = gbk_to_utf8(kHistoryUpMark);
const std::string kDown = gbk_to_utf8(kHistoryDownMark);
const std::string kSame = gbk_to_utf8(kHistorySameMark);

std::string change_between(const CheckRecord& before, const CheckRecord& now) {
  const bool was_found = before.rank.has_value();
  const bool is_found = now.rank.has_value();
  if (was_found && is_found) {
    const std::int64_t climbed = *before.rank - *now.rank;
    if (climbed == 0) {
      return kSame;
    }
    return climbed > 0 ? kUp + std::to_string(climbed) : kDown + std::to_string(-climbed);
  }
  if (was_found != is_found) {
    return is_found ? kUp : kDown;
  }
  return kSame;
}

}  // namespace

std::vector<std::string> change_texts(const std::vector<CheckRecord>& checks) {
  std::vector<std::string> changes;
  const CheckRecord* previous = nullptr;
  for (const CheckRecord& check : checks) {
    if (check.outcome == CheckOutcome::failed) {
      changes.push_back(kSame);
      continue;
    }
    changes.push_back(previous == nullptr ? kSame : change_between(*previous, check));
    previous = &check;
  }
  return changes;
}

std::optional<CheckRecord> best_check(const std::vector<CheckRecord>& checks) {
  const CheckRecord* best = nullptr;
  for (const CheckRecord& check : checks) {
    if (check.rank && (best == nullptr || *check.rank < *best->rank)) {
      best = &check;
    }
  }
  return best == nullptr ? std::nullopt : std::optional<CheckRecord>(*best);
}

std::int64_t not_within_rank(const std::vector<CheckRecord>& checks) {
  std::int64_t deepest = 1;
  for (const CheckRecord& check : checks) {
    deepest = std::max(deepest, check.page_count * items_per_page(check.marketplace));
    if (check.rank) {
      deepest = std::max(deepest, *check.rank);
    }
  }
  return deepest + 1;
}

std::int64_t largest_page_count(const std::vector<CheckRecord>& checks) {
  std::int64_t largest = 0;
  for (const CheckRecord& check : checks) {
    largest = std::max(largest, check.page_count);
  }
  return largest;
}

}  // namespace shop
