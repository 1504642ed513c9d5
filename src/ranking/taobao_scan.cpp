#include "ranking/marketplace_scans.h"
#include "ranking/search_scan.h"

namespace shop {

Text taobao_sort_parameter(const MainForm& form) {
  return last_checked_value({{form.人气1, "&sort=renqi-desc"},
                             {form.默认1, ""},
                             {form.总价, "&sort=total-asc"},
                             {form.销量1, "&sort=sale-desc"},
                             {form.价格1, "&sort=price-asc"},
                             {form.信用1, "&sort=credit-desc"}});
}

void start_taobao_row_check(RankingRunContext& run, const Text& keyword, std::int32_t page_count,
                            std::int32_t row, const Text& item_address) {
  start_row_check(
      run, keyword, page_count, row, [&item_address] { return query_value(item_address, "id"); },
      scan_taobao_page);
}

void scan_taobao_page(RankingRunContext& run, std::int32_t page, std::int32_t row) {
  if (page_still_wanted(run)) {
    const Text sort = read_on_ui_thread([&run] { return taobao_sort_parameter(run.form); });
    const Text address =
        taobao_search_address(run.search_address_parts, run.row_check.keyword, page, sort);
    const int place = taobao_listing_place(fetch_result_page(address), run.row_check.item_key);
    if (place > 0) {
      report_place(run, run.form.超级列表框2, page, row, place);
    }
  }
  end_page_task(run, scan_taobao_page, row);
}

}  // namespace shop
