#include "history/check_record.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace shop {
namespace {

constexpr std::string_view kOutcomeNames[] = {"found", "not_within", "failed"};

}  // namespace

std::string_view outcome_name(CheckOutcome outcome) {
  return kOutcomeNames[static_cast<int>(outcome)];
}

std::optional<CheckOutcome> outcome_from_name(std::string_view name) {
  for (int i = 0; i < 3; ++i) {
    if (kOutcomeNames[i] == name) {
      return static_cast<CheckOutcome>(i);
    }
  }
  return std::nullopt;
}

std::int64_t items_per_page(std::string_view) {
  return 40;
}

std::int64_t plottable_rank(std::string_view marketplace, std::int64_t page, std::int64_t place) {
  return (page - 1) * items_per_page(marketplace) + place;
}

std::string current_record_time() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(millis));
  return text;
}

}  // namespace shop
