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

bool page_still_wanted(const RankingRunContext& run) {
  return run.pool.state() == WorkerPool::Running;
}

Text fetch_result_page(const Text& address) {
  PageRequest request;
  request.address = address;
  return body_to_text(fetch_page(request));
}

void report_place(RankingRunContext& run, TrackingListView* list, std::int32_t page,
                  std::int32_t row, int place) {
  const Text position = place_text(page, place);
  on_ui_thread([&] { list->set_cell(row, 3, position); });
  run.pool.stop();
}

void end_page_task(RankingRunContext& run, PageScan scan, std::int32_t row) {
  QProgressBar* bar = run.form.进度条1;
  end_page(run.row_check, run.pool, task_of(run, scan), row,
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

Text read_on_ui_thread(const std::function<Text()>& read) {
  Text value;
  on_ui_thread([&] { value = read(); });
  return value;
}

}  // namespace shop
