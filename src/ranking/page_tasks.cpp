#include <algorithm>

#include "ranking/marketplace_scans.h"
#include "ranking/search_scan.h"
#include "ui/ui_thread.h"
#include "web/page_fetch.h"

namespace shop {
namespace {

WorkerPool::Task task_of(RankingRunContext& run, PageScan scan) {
  return [&run, scan](std::int32_t page, std::int32_t row) { scan(run, page, row); };
}

}  // namespace

void start_row_check(RankingRunContext& run, const Text& keyword, std::int32_t page_count,
                     std::int32_t row, const std::function<Text()>& item_key, PageScan scan) {
  run.pool.start(kThreadsPerRow);
  begin_row_check(run.row_check, keyword, page_count);
  run.form.进度条1->setValue(0);
  // A range of 0..0 would turn the bar into a busy indicator that never settles.
  run.form.进度条1->setMaximum(std::max(page_count, 1));
  run.row_check.item_key = item_key();
  post_first_pages(run.row_check, run.pool, task_of(run, scan), row);
}

void scan_result_page(RankingRunContext& run, const PageScanSteps& steps, std::int32_t page,
                      std::int32_t row) {
  if (run.pool.state() == WorkerPool::Running) {
    Text sort;
    on_ui_thread([&] { sort = steps.sort_choice(run.form); });
    PageRequest request;
    request.address = steps.search_address(sort);
    const int place = steps.place(body_to_text(fetch_page(request)), run.row_check.item_key);
    if (place > 0) {
      const Text position = place_text(page, place);
      on_ui_thread([&] { steps.list->set_cell(row, 3, position); });
      run.pool.stop();
    }
  }
  QProgressBar* bar = run.form.进度条1;
  end_page(run.row_check, run.pool, task_of(run, steps.self), row,
           [bar](std::int32_t pages_done) { on_ui_thread([&] { bar->setValue(pages_done); }); });
}

Text last_checked_value(std::initializer_list<RadioChoice> choices) {
  Text value;
  for (const RadioChoice& choice : choices) {
    if (choice.button->isChecked()) {
      value = choice.value;
    }
  }
  return value;
}

}  // namespace shop
