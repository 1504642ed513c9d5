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
  const auto address = [&run, page](const Text& sort_parameter) {
    return taobao_search_address(run.search_address_parts, run.row_check.keyword, page,
                                 sort_parameter);
  };
  scan_result_page(run,
                   {scan_taobao_page, run.form.超级列表框2, taobao_sort_parameter, address,
                    taobao_listing_place},
                   page, row);
}

}  // namespace shop
