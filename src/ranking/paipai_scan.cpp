#include "ranking/marketplace_scans.h"
#include "ranking/search_scan.h"
#include "ui/message.h"
#include "web/system_texts.h"

namespace shop {

Text extract_paipai_item_code(const Text& item_address) {
  const std::vector<Text> codes = paipai_item_code_candidates(item_address);
  if (codes.size() == 1) {
    return codes.front();
  }
  show_message(kItemCodeFailedMessage);
  return {};
}

Text paipai_sort_code(const MainForm& form) {
  const Text code = last_checked_value({{form.默认, "77"},
                                        {form.人气, "21"},
                                        {form.销量, "24"},
                                        {form.价格, "6"},
                                        {form.信用, "9"}});
  return code.empty() ? "77" : code;
}

void start_paipai_row_check(RankingRunContext& run, const Text& keyword, std::int32_t page_count,
                            std::int32_t row, const Text& item_address) {
  start_row_check(
      run, keyword, page_count, row,
      [&item_address] { return extract_paipai_item_code(item_address); }, scan_paipai_page);
}

void scan_paipai_page(RankingRunContext& run, std::int32_t page, std::int32_t row) {
  const auto address = [&run, page](const Text& sort_code) {
    return paipai_search_address(run.search_address_parts, run.row_check.keyword, sort_code, page);
  };
  scan_result_page(
      run,
      {scan_paipai_page, run.form.超级列表框1, paipai_sort_code, address, paipai_listing_place},
      page, row);
}

}  // namespace shop
