#include "ranking/ranking_engine.h"

#include <optional>
#include <thread>

#include "ranking/row_check.h"
#include "ranking/search_scan.h"
#include "web/system_texts.h"

namespace shop {
namespace {

using Observers = std::vector<RankingObserver*>;

// What the page tasks of one row share besides RowCheck; `found` and
// `failed_pages` are guarded by the row's lock.
struct RowScan {
  RowCheck check;
  std::int32_t row = 0;
  std::optional<RowOutcome> found;
  int failed_pages = 0;
};

class RowRunner {
 public:
  RowRunner(const RankingOptions& options, const Observers& observers, WorkerPool& pool)
      : options_(options), observers_(observers), pool_(pool) {}

  RowOutcome check(TrackedItem& item, int row);

 private:
  void scan_page(std::int32_t page);
  Text search_address(const Text& sort, std::int64_t page) const;
  int listing_place(const Text& page) const;
  Text page_count_text() const;
  template <class Report>
  void notify(Report report) const {
    for (RankingObserver* observer : observers_) {
      report(*observer);
    }
  }

  const RankingOptions& options_;
  const Observers& observers_;
  WorkerPool& pool_;
  RowScan scan_;
  WorkerPool::Task page_task_ = [this](std::int32_t page, std::int32_t) { scan_page(page); };
};

Text RowRunner::page_count_text() const {
  return options_.page_count_source ? options_.page_count_source() : options_.page_count_text;
}

Text RowRunner::search_address(const Text& sort, std::int64_t page) const {
  const std::vector<Text>& parts = options_.search_address_parts;
  const Text& keyword = scan_.check.keyword;
  return options_.marketplace == Marketplace::paipai
             ? paipai_search_address(parts, keyword, sort, page)
             : taobao_search_address(parts, keyword, page, sort, options_.scan_rules);
}

int RowRunner::listing_place(const Text& page) const {
  return options_.marketplace == Marketplace::paipai
             ? paipai_listing_place(page, scan_.check.item_key, options_.scan_rules)
             : taobao_listing_place(page, scan_.check.item_key, options_.scan_rules);
}

// One page task. While the pool is Running: fetch the page with the sort choice of
// this moment and, when it lists the item, record the position and stop the pool.
// Then, in any case, the end-of-page step, so that the row always ends.
void RowRunner::scan_page(std::int32_t page) {
  if (pool_.state() == WorkerPool::Running) {
    bool failed = true;
    int place = 0;
    try {
      PageRequest request = options_.request_template;
      request.address =
          search_address(options_.sort_choice ? options_.sort_choice() : Text(), page);
      const FetchedPage answer = fetch_page_with_status(request);
      failed = answer.body.empty() || answer.status >= 400;
      place = failed ? 0 : listing_place(body_to_text(answer.body));
    } catch (...) {
      // Counts as a page that could not be fetched.
    }
    if (failed || place > 0) {
      std::lock_guard lock(*scan_.check.lock);
      if (failed) {
        ++scan_.failed_pages;
      } else {
        scan_.found = RowOutcome{RowOutcome::Kind::found, page, place, place_text(page, place)};
        notify([&](RankingObserver& o) { o.position_found(scan_.row, *scan_.found); });
      }
    }
    if (place > 0) {
      pool_.stop();
    }
  }
  const std::int32_t row = scan_.row;
  const std::int32_t count = scan_.check.page_count;
  end_page(scan_.check, pool_, page_task_, row, [&](std::int32_t done) {
    notify([&](RankingObserver& o) { o.pages_done(row, done, count); });
  });
}

RowOutcome RowRunner::check(TrackedItem& item, int row) {
  item[5] = item[4];
  item[4] = item[3];
  item[3] = kCheckingPlaceholder;
  const std::int32_t page_count = options_.page_count_source
                                      ? parse_page_count(options_.page_count_source())
                                      : options_.page_count;
  notify([&](RankingObserver& o) { o.row_started(row, item, page_count); });

  scan_.row = row;
  scan_.found.reset();
  scan_.failed_pages = 0;
  const bool started = pool_.start(options_.threads_per_row) > 0;
  begin_row_check(scan_.check, item[1], page_count);
  scan_.check.item_key = item_key_of(options_.marketplace, item[2], options_.scan_rules);
  if (scan_.check.item_key.empty()) {
    notify([&](RankingObserver& o) { o.item_key_missing(row); });
  }
  post_first_pages(scan_.check, pool_, page_task_, row);
  pool_.wait_idle_for(std::chrono::milliseconds::max());

  RowOutcome outcome;
  if (scan_.found) {
    outcome = *scan_.found;
  } else if (scan_.failed_pages > 0 || (!started && page_count > 0)) {
    outcome.kind = RowOutcome::Kind::failed;
    outcome.text = kCheckFailed;
  } else {
    outcome.kind = RowOutcome::Kind::not_within;
    outcome.text = not_within_text(page_count_text());
  }
  item[3] = outcome.text;
  notify([&](RankingObserver& o) { o.row_finished(row, item, outcome); });
  return outcome;
}

}  // namespace

bool RankingResult::any_failed() const {
  for (const RowOutcome& outcome : outcomes) {
    if (outcome.kind == RowOutcome::Kind::failed) {
      return true;
    }
  }
  return false;
}

RankingResult run_ranking(std::vector<TrackedItem> rows, const RankingOptions& options,
                          const std::vector<RankingObserver*>& observers, WorkerPool& pool) {
  RankingResult result;
  RowRunner runner(options, observers, pool);
  for (size_t row = 0; row < rows.size(); ++row) {
    if (row > 0 && options.pause_between_rows.count() > 0) {
      std::this_thread::sleep_for(options.pause_between_rows);
    }
    result.outcomes.push_back(runner.check(rows[row], static_cast<int>(row)));
  }
  result.rows = std::move(rows);
  for (RankingObserver* observer : observers) {
    observer->run_finished(result.rows);
  }
  return result;
}

Text item_key_of(Marketplace marketplace, const Text& item_address) {
  return item_key_of(marketplace, item_address, default_scan_rules());
}

Text item_key_of(Marketplace marketplace, const Text& item_address, const ScanRules& rules) {
  if (marketplace == Marketplace::taobao) {
    return query_value(item_address, "id");
  }
  const std::vector<Text> codes = paipai_item_code_candidates(item_address, rules);
  return codes.size() == 1 ? codes.front() : Text();
}

}  // namespace shop
