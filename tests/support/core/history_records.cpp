#include "support/core/history_records.h"

#include <chrono>
#include <cstdio>

namespace shop::testing {
namespace {

CheckRecord base_record(std::int64_t day, std::string item_address, std::string keyword) {
  CheckRecord record;
  record.time = daily_time(day);
  record.marketplace = "taobao";
  record.keyword = std::move(keyword);
  record.item_key = "id-" + item_address;
  record.item_address = std::move(item_address);
  record.page_count = 10;
  return record;
}

}  // namespace

std::string daily_time(std::int64_t day) {
  using namespace std::chrono;
  const year_month_day date{sys_days{2020y / January / 1} + days(day)};
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT08:00:00.000Z", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

CheckRecord found_record(std::int64_t day, std::int64_t rank, std::string item_address,
                         std::string keyword) {
  CheckRecord record = base_record(day, std::move(item_address), std::move(keyword));
  record.outcome = CheckOutcome::found;
  record.page = (rank - 1) / 40 + 1;
  record.place = (rank - 1) % 40 + 1;
  record.rank = rank;
  record.result_text = std::to_string(*record.page) + "页第" + std::to_string(*record.place) + "个";
  return record;
}

CheckRecord not_within_record(std::int64_t day, std::string item_address, std::string keyword) {
  CheckRecord record = base_record(day, std::move(item_address), std::move(keyword));
  record.outcome = CheckOutcome::not_within;
  record.result_text = "不在10页内";
  return record;
}

CheckRecord failed_record(std::int64_t day, std::string item_address, std::string keyword) {
  CheckRecord record = base_record(day, std::move(item_address), std::move(keyword));
  record.outcome = CheckOutcome::failed;
  record.result_text = "查询失败";
  return record;
}

}  // namespace shop::testing
