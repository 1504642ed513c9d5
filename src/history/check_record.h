#pragma once
// One ranking check of one row as the rank history keeps it. Texts are UTF-8, as
// the history database and its CSV files hold them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace shop {

enum class CheckOutcome { found, not_within, failed };

struct CheckRecord {
  std::string time;         // UTC, ISO 8601 with milliseconds: 2026-12-11T13:40:05.123Z
  std::string marketplace;  // "paipai" or "taobao"
  std::string keyword;
  std::string item_address;
  std::string item_key;     // the Paipai item code or the Taobao item id; may be empty
  std::string sort_choice;  // the sort code or sort parameter the check used
  std::int64_t page_count = 0;
  CheckOutcome outcome = CheckOutcome::failed;
  std::optional<std::int64_t> page;   // when found
  std::optional<std::int64_t> place;  // when found
  std::string result_text;            // the text written into the row's 排名 column
  std::optional<std::int64_t> rank;   // when found: see plottable_rank

  bool operator==(const CheckRecord&) const = default;
};

inline constexpr std::string_view kPaipaiName = "paipai";
inline constexpr std::string_view kTaobaoName = "taobao";

std::string_view outcome_name(CheckOutcome outcome);
std::optional<CheckOutcome> outcome_from_name(std::string_view name);

// Items on one result page: Taobao addresses its pages by an offset of 40; Paipai
// pages are taken to hold 40 as well.
std::int64_t items_per_page(std::string_view marketplace);
// The overall position a chart plots: (page - 1) x items per page + place.
std::int64_t plottable_rank(std::string_view marketplace, std::int64_t page, std::int64_t place);

// The current time in the record's format.
std::string current_record_time();

}  // namespace shop
