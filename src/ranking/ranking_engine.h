#pragma once
// The ranking check as an engine of its own: it checks plain rows of a tracking
// list one after another, fetching the result pages of each row in parallel on a
// WorkerPool, and reports what happens to any number of observers. It never touches
// a widget: the window and the command line are two front ends of it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "lists/list_file.h"
#include "ranking/search_scan.h"
#include "ranking/worker_pool.h"
#include "web/page_fetch.h"
#include "web/text.h"

namespace shop {

enum class Marketplace { paipai, taobao };

// How the check of one row ended, and the text column 3 ("排名") shows for it.
struct RowOutcome {
  enum class Kind {
    found,       // listed on `page` at `place`: "2页第15个"
    not_within,  // every page was fetched and none lists the item: "不在10页内"
    failed,      // not found, and some page could not be fetched: "查询失败"
  };
  Kind kind = Kind::not_within;
  std::int64_t page = 0;
  int place = 0;
  Text text;
};

// Receives the reports of a run. Every method does nothing unless overridden.
// row_started, item_key_missing, row_finished and run_finished come on the thread
// that runs the engine; pages_done and position_found come on the pool's threads,
// one at a time, while the row's lock is held: keep them short and never call back
// into the engine from them.
class RankingObserver {
 public:
  virtual ~RankingObserver() = default;
  // The row's positions have moved one column along and column 3 holds the
  // placeholder "计算中..."; `page_count` pages are about to be fetched.
  virtual void row_started(int /*row*/, const TrackedItem& /*row_now*/,
                           std::int32_t /*page_count*/) {}
  // The item key could not be taken from the row's address (a Paipai address
  // without exactly one item code). The row is still scanned.
  virtual void item_key_missing(int /*row*/) {}
  virtual void pages_done(int /*row*/, std::int32_t /*done*/, std::int32_t /*page_count*/) {}
  // A page lists the item; when two pages do, the one reported last is the row's.
  virtual void position_found(int /*row*/, const RowOutcome& /*found*/) {}
  virtual void row_finished(int /*row*/, const TrackedItem& /*row_after*/,
                            const RowOutcome& /*outcome*/) {}
  virtual void run_finished(const std::vector<TrackedItem>& /*rows*/) {}
};

struct RankingOptions {
  Marketplace marketplace = Marketplace::paipai;
  // The number of result pages to scan per row, and the text the not-within
  // result quotes ("不在<text>页内").
  std::int32_t page_count = 10;
  Text page_count_text = "10";
  // When set, it replaces the two above: read at the start of each row for the page
  // count (leading number, as parse_page_count reads it) and again at the row's end
  // for the not-within text. The window reads its page count box this way.
  std::function<Text()> page_count_source;
  // The sort text put into the search address (a Paipai sort code or a Taobao sort
  // parameter), read by each page task as it starts. Empty when unset.
  std::function<Text()> sort_choice;
  // Pieces 0-2 frame the Paipai search address, pieces 3-4 the Taobao one.
  std::vector<Text> search_address_parts;
  // Every page request is a copy of this with the search address filled in:
  // headers, proxy and poll count come from here.
  PageRequest request_template;
  int threads_per_row = 10;
  std::chrono::milliseconds pause_between_rows{0};
  // What the scans look for in item addresses and result pages.
  ScanRules scan_rules;
};

// The rows as they stand after the run, and each row's outcome.
struct RankingResult {
  std::vector<TrackedItem> rows;
  std::vector<RowOutcome> outcomes;
  bool any_failed() const;
};

// Checks every row in order and returns when the last one has ended. The pool must
// be Idle and is used for one row at a time; the calling thread waits for each row
// on the pool's own idle notification.
RankingResult run_ranking(std::vector<TrackedItem> rows, const RankingOptions& options,
                          const std::vector<RankingObserver*>& observers, WorkerPool& pool);

// The key that identifies the item in result pages: the one 32-character code of a
// Paipai address, the "id" query value of a Taobao address; empty when there is none.
Text item_key_of(Marketplace marketplace, const Text& item_address);
Text item_key_of(Marketplace marketplace, const Text& item_address, const ScanRules& rules);

}  // namespace shop
