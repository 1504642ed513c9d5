#pragma once
// The row checks of the two marketplaces: the hand-off that fills the row's context
// and posts one page task per result page, and the page tasks that fetch a result
// page and write the item's place into the row when they find it.

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "ranking/ranking_run.h"

namespace shop {

inline constexpr int kThreadsPerRow = 10;

// Paipai: the item is known by the 32-character code in its address.
void start_paipai_row_check(RankingRunContext& run, const Text& keyword, std::int32_t page_count,
                            std::int32_t row, const Text& item_address);
// The one item code of the address; with none or several, shows 提取宝贝特征码失败 and
// gives empty text.
Text extract_paipai_item_code(const Text& item_address);
// Read from the Paipai sort buttons; call on the user-interface thread.
Text paipai_sort_code(const MainForm& form);
void scan_paipai_page(RankingRunContext& run, std::int32_t page, std::int32_t row);

// Taobao: the item is known by the "id" value of its address.
void start_taobao_row_check(RankingRunContext& run, const Text& keyword, std::int32_t page_count,
                            std::int32_t row, const Text& item_address);
// Read from the Taobao sort buttons; call on the user-interface thread.
Text taobao_sort_parameter(const MainForm& form);
void scan_taobao_page(RankingRunContext& run, std::int32_t page, std::int32_t row);

// Shared by both marketplaces.
using PageScan = void (*)(RankingRunContext& run, std::int32_t page, std::int32_t row);
// Starts the pool, fills the row's context (the item key comes from `item_key`, run
// after the fresh lock is made) and posts the first pages of `scan`.
void start_row_check(RankingRunContext& run, const Text& keyword, std::int32_t page_count,
                     std::int32_t row, const std::function<Text()>& item_key, PageScan scan);
// What a marketplace's page task is made of.
struct PageScanSteps {
  PageScan self;  // the task itself, for the pages still to post
  TrackingListView* list;
  Text (*sort_choice)(const MainForm& form);
  std::function<Text(const Text& sort)> search_address;
  int (*place)(const Text& page, const Text& item_key);
};
// One page task. While the pool is Running: read the sort choice on the
// user-interface thread, fetch the search address built with it and, when the page
// lists the item, write its place into column 3 of the row and stop the pool. Then,
// in any case, the end-of-page step.
void scan_result_page(RankingRunContext& run, const PageScanSteps& steps, std::int32_t page,
                      std::int32_t row);
// The value of the last checked button among `choices`, or empty text: when more
// than one reads as checked, the last in the list wins.
struct RadioChoice {
  const QRadioButton* button;
  const char* value;
};
Text last_checked_value(std::initializer_list<RadioChoice> choices);

}  // namespace shop
