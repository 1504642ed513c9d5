#include "ranking/row_check.h"

#include <algorithm>

namespace shop {

void begin_row_check(RowCheck& check, const Text& keyword, std::int32_t page_count) {
  check.keyword = keyword;
  check.page_count = page_count;
  check.pages_done = 0;
  check.next_page = 1;
  check.lock.reset();
  check.lock = std::make_unique<std::mutex>();
}

void post_first_pages(RowCheck& check, WorkerPool& pool, const WorkerPool::Task& page_task,
                      std::int32_t row) {
  if (check.page_count < 1) {
    pool.stop();
    return;
  }
  std::lock_guard lock(*check.lock);
  const std::int32_t first_pages = std::min(check.page_count, kPagesPostedAhead);
  for (; check.next_page <= first_pages; ++check.next_page) {
    pool.post(page_task, static_cast<std::int32_t>(check.next_page), row);
  }
}

void end_page(RowCheck& check, WorkerPool& pool, const WorkerPool::Task& page_task,
              std::int32_t row, const std::function<void(std::int32_t)>& show_pages_done) {
  std::lock_guard lock(*check.lock);
  ++check.pages_done;
  if (show_pages_done) {
    show_pages_done(check.pages_done);
  }
  if (check.pages_done >= check.page_count) {
    pool.stop();
  } else if (check.next_page <= check.page_count && pool.state() == WorkerPool::Running) {
    pool.post(page_task, static_cast<std::int32_t>(check.next_page++), row);
  }
}

}  // namespace shop
