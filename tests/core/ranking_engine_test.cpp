#include "ranking/ranking_engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>

#include "support/core/fake_marketplace.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using test_support::FakeMarketplace;
using testing::gbk;
using Kind = RowOutcome::Kind;

const Text kCode = "9723820700000000040100000C465B4E";
const Text kOther = "99999999999999999999999999999999";

Text paipai_address(const Text& code) {
  return "http://auction1.paipai.com/search/0/" + code + "-8B80.html";
}

TrackedItem paipai_row(const Text& id, const Text& keyword, const Text& code,
                       const Text& position = "") {
  return {id, keyword, paipai_address(code), position, "", ""};
}

// Keeps every report, in the order it came.
class Recorder : public RankingObserver {
 public:
  struct Finished {
    int row;
    TrackedItem row_after;
    Kind kind;
    Text text;
  };
  void row_started(int row, const TrackedItem& row_now, std::int32_t page_count) override {
    std::lock_guard lock(mutex);
    started.push_back({row, row_now, Kind::not_within, std::to_string(page_count)});
  }
  void item_key_missing(int row) override {
    std::lock_guard lock(mutex);
    keys_missing.push_back(row);
  }
  void pages_done(int row, std::int32_t done, std::int32_t count) override {
    std::lock_guard lock(mutex);
    last_pages_done[row] = {done, count};
  }
  void position_found(int row, const RowOutcome& found) override {
    std::lock_guard lock(mutex);
    found_rows.insert(row);
    EXPECT_EQ(found.kind, Kind::found);
  }
  void row_finished(int row, const TrackedItem& row_after, const RowOutcome& outcome) override {
    std::lock_guard lock(mutex);
    finished.push_back({row, row_after, outcome.kind, outcome.text});
  }
  void run_finished(const std::vector<TrackedItem>& rows) override {
    std::lock_guard lock(mutex);
    final_rows = rows;
    ++runs_finished;
  }

  std::mutex mutex;
  std::vector<Finished> started;
  std::vector<int> keys_missing;
  std::map<int, std::pair<int, int>> last_pages_done;
  std::set<int> found_rows;
  std::vector<Finished> finished;
  std::vector<TrackedItem> final_rows;
  int runs_finished = 0;
};

class RankingEngine : public ::testing::Test {
 protected:
  FakeMarketplace market;
  WorkerPool pool;

  RankingOptions options(std::int32_t pages, Marketplace marketplace = Marketplace::paipai) {
    RankingOptions o;
    o.marketplace = marketplace;
    o.page_count = pages;
    o.page_count_text = std::to_string(pages);
    o.search_address_parts = market.search_address_parts();
    o.sort_choice = [] { return Text("77"); };
    o.request_template.poll_count = 1;  // an empty answer fails at once
    return o;
  }
};

// Found, not within, failed (one page refused with an error status, or answered
// with nothing at all), and found although another page failed: each row's outcome,
// its text in column 3, the positions moved along, and the run going on after a
// failure.
TEST_F(RankingEngine, OutcomesOfRows) {
  market.set_paipai_page("found", "77", 2, FakeMarketplace::paipai_page({kOther, kCode}));
  market.set_status("refused", 3, 503);
  market.set_status("missing", 1, 404);
  market.set_paipai_page("found anyway", "77", 1, FakeMarketplace::paipai_page({kCode}));
  market.set_status("found anyway", 2, 500);
  std::vector<TrackedItem> rows = {
      paipai_row("0", "found", kCode, gbk("1页第1个")), paipai_row("1", "absent", kCode, "x"),
      paipai_row("2", "refused", kCode, "y"),           paipai_row("3", "missing", kCode),
      paipai_row("4", "found anyway", kCode),
  };
  rows[1][4] = "old";
  Recorder recorder;
  const RankingResult result = run_ranking(rows, options(4), {&recorder}, pool);

  const std::vector<std::pair<Kind, Text>> expected = {
      {Kind::found, gbk("2页第2个")},  {Kind::not_within, gbk("不在4页内")},
      {Kind::failed, gbk("查询失败")}, {Kind::failed, gbk("查询失败")},
      {Kind::found, gbk("1页第1个")},
  };
  ASSERT_EQ(result.outcomes.size(), expected.size());
  ASSERT_EQ(recorder.finished.size(), expected.size());
  for (size_t row = 0; row < expected.size(); ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(result.outcomes[row].kind, expected[row].first);
    EXPECT_EQ(result.outcomes[row].text, expected[row].second);
    EXPECT_EQ(result.rows[row][3], expected[row].second);
    EXPECT_EQ(recorder.finished[row].row_after, result.rows[row]);
  }
  EXPECT_EQ(result.outcomes[0].page, 2);
  EXPECT_EQ(result.outcomes[0].place, 2);
  EXPECT_EQ(result.rows[0][4], gbk("1页第1个"));
  EXPECT_EQ((std::array{result.rows[1][4], result.rows[1][5]}), (std::array<Text, 2>{"x", "old"}));
  EXPECT_TRUE(result.any_failed());
  EXPECT_EQ(recorder.final_rows, result.rows);
  EXPECT_EQ(recorder.runs_finished, 1);
  EXPECT_EQ(market.searches_for("absent").size(), 4u);
  EXPECT_EQ(market.searches_for("refused").size(), 4u) << "the other pages are still fetched";
}

// What a row reports before and while its pages are fetched: the placeholder, the
// page count, every page counted; a second observer hears the same.
TEST_F(RankingEngine, ReportsOfARowReachEveryObserver) {
  Recorder first, second;
  const RankingResult result =
      run_ranking({paipai_row("0", "k", kCode, "a")}, options(3), {&first, &second}, pool);
  for (Recorder* recorder : {&first, &second}) {
    ASSERT_EQ(recorder->started.size(), 1u);
    EXPECT_EQ(recorder->started[0].row_after,
              (TrackedItem{"0", "k", paipai_address(kCode), gbk("计算中..."), "a", ""}));
    EXPECT_EQ(recorder->started[0].text, "3");
    EXPECT_EQ(recorder->last_pages_done[0], std::make_pair(3, 3));
    EXPECT_EQ(recorder->finished.size(), 1u);
  }
  EXPECT_FALSE(result.any_failed());
}

// A find on page 1 stops the row: of 30 pages only those already under way, and at
// most one more for each page that ended just before the find, are fetched. Up to ten
// pages are in flight at once, never more.
TEST_F(RankingEngine, TenPagesInFlightAndAnEarlyStop) {
  market.set_delay(std::chrono::milliseconds(150));
  market.set_paipai_page("early", "77", 1, FakeMarketplace::paipai_page({kCode}));
  Recorder recorder;
  const RankingResult result = run_ranking(
      {paipai_row("0", "early", kCode), paipai_row("1", "late", kCode)},
      [&] {
        RankingOptions o = options(30);
        o.page_count_source = [] { return Text("30"); };
        return o;
      }(),
      {&recorder}, pool);
  EXPECT_EQ(result.outcomes[0].text, gbk("1页第1个"));
  EXPECT_LE(market.searches_for("early").size(), 20u);
  EXPECT_EQ(market.searches_for("late").size(), 30u);
  EXPECT_EQ(market.most_in_flight(), 10);
  EXPECT_EQ(recorder.found_rows, std::set<int>{0});
}

// Without an item key the row is still scanned through all its pages and ends as not
// within them (or failed); the observers hear of the missing key first.
TEST_F(RankingEngine, ARowWhoseItemKeyCannotBeTaken) {
  market.set_paipai_page("k", "77", 1, FakeMarketplace::paipai_page({kCode}));
  const std::vector<TrackedItem> rows = {
      {"0", "k", "http://a/" + kCode + "/" + kCode, "", "", ""},
      {"1", "k", "http://a/none.html", "", "", ""},
  };
  Recorder recorder;
  const RankingResult result = run_ranking(rows, options(2), {&recorder}, pool);
  EXPECT_EQ(recorder.keys_missing, (std::vector<int>{0, 1}));
  for (const RowOutcome& outcome : result.outcomes) {
    EXPECT_EQ(outcome.text, gbk("不在2页内"));
  }
  EXPECT_EQ(market.searches_for("k").size(), 4u);

  RankingOptions taobao = options(1, Marketplace::taobao);
  taobao.sort_choice = {};
  market.set_taobao_page("t", "", 0, FakeMarketplace::taobao_page({"1", ""}));
  const RankingResult no_id = run_ranking(
      {{"0", "t", "http://item.taobao.com/item.htm?spm=a", "", "", ""}}, taobao, {&recorder}, pool);
  EXPECT_EQ(no_id.outcomes[0].kind, Kind::not_within) << "an empty id is never listed";
}

// The page count source is read at the start of the row for the count and again at
// its end for the text; the sort choice once per page task.
TEST_F(RankingEngine, SourcesAreReadWhenTheWindowReadsThem) {
  RankingOptions o = options(0);
  std::atomic<int> count_reads{0}, sort_reads{0};
  o.page_count_source = [&] { return Text(count_reads++ == 0 ? " 2x" : "later"); };
  o.sort_choice = [&] {
    ++sort_reads;
    return Text("21");
  };
  const RankingResult result = run_ranking({paipai_row("0", "k", kCode)}, o, {}, pool);
  EXPECT_EQ(result.outcomes[0].text, gbk("不在later页内"));
  EXPECT_EQ(sort_reads, 2);
  for (const auto& search : market.searches()) {
    EXPECT_EQ(search.sort, "21");
  }
}

// A page count below 1 fetches nothing and still ends the row.
TEST_F(RankingEngine, NoPagesEndTheRowAtOnce) {
  const RankingResult result = run_ranking({paipai_row("0", "k", kCode)}, options(0), {}, pool);
  EXPECT_EQ(result.outcomes[0].text, gbk("不在0页内"));
  EXPECT_TRUE(market.searches().empty());
}

// A marketplace that cannot be reached at all fails every row, without a long wait.
TEST_F(RankingEngine, AnUnreachableMarketplaceFailsEveryRow) {
  RankingOptions o = options(3);
  const int port = test_support::unused_local_port();
  const Text host = "http://127.0.0.1:" + std::to_string(port);
  o.search_address_parts = {host + "/s?k=", "&o=", "&p=", host + "/t?q=", "&s="};
  const RankingResult result = run_ranking(
      {paipai_row("0", "a", kCode, "1"), paipai_row("1", "b", kCode, "2")}, o, {}, pool);
  for (const TrackedItem& row : result.rows) {
    EXPECT_EQ(row[3], gbk("查询失败"));
  }
  EXPECT_EQ(result.rows[1][4], "2") << "the real position moves along once, as with any result";
}

}  // namespace
}  // namespace shop
