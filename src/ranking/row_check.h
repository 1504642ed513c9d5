#pragma once
// The context of the row whose ranking check runs, shared by the check run on the
// user-interface thread and the page tasks on the pool's threads.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "ranking/worker_pool.h"
#include "web/text.h"

namespace shop {

struct RowCheck {
  Text keyword;   // column 1 of the row, unchanged
  Text item_key;  // what identifies the item in result pages; empty when unknown
  std::int32_t page_count = 0;
  std::int32_t pages_done = 0;  // guarded by lock
  // Made fresh for each row; guards pages_done, next_page and the end-of-row test.
  std::unique_ptr<std::mutex> lock;
  // The next page to hand to the pool. Pages are posted a window ahead rather than
  // all at once, so that a huge page count neither fills memory nor overflows.
  std::int64_t next_page = 1;
};

// How many pages are queued ahead of the ones finished: every choice of the page
// count box fits, so those rows have all their pages posted at the start.
inline constexpr std::int32_t kPagesPostedAhead = 100;

// Sets the row's keyword and page count, zero pages done, and a fresh lock (the
// previous row's lock is destroyed first). Call only while the pool has no work.
void begin_row_check(RowCheck& check, const Text& keyword, std::int32_t page_count);

// Posts the first pages of the row, from page 1 up. A page count below 1 posts
// nothing and stops the pool at once, so that the row still ends.
void post_first_pages(RowCheck& check, WorkerPool& pool, const WorkerPool::Task& page_task,
                      std::int32_t row);

// The last step of every page task, whether or not it did its work: under the
// row's lock, count the page, show the count, and stop the pool when it reaches the
// page count, or else queue the next page not posted yet.
void end_page(RowCheck& check, WorkerPool& pool, const WorkerPool::Task& page_task,
              std::int32_t row, const std::function<void(std::int32_t)>& show_pages_done);

}  // namespace shop
