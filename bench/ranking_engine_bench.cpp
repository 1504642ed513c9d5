// The ranking run through the engine alone, without a window or a process start.
#include "bench_run_figures.h"
#include "gui/bench_timing.h"
#include "ranking/ranking_engine.h"
#include "support/core/fake_marketplace.h"

using namespace shop;

int main() {
  test_support::FakeMarketplace market;
  market.set_delay(std::chrono::milliseconds(bench::kRunAnswerMs));
  RankingOptions options;
  options.page_count = bench::run_page_count();
  options.page_count_text = std::to_string(bench::run_page_count());
  options.sort_choice = [] { return Text("77"); };
  options.search_address_parts = market.search_address_parts();
  WorkerPool pool;
  const std::vector<TrackedItem> rows = bench::run_rows();

  const double measured = bench::median_ms(
      bench::run_repetitions(), [] {}, [&] { run_ranking(rows, options, {}, pool); });
  return bench::report_run("the engine", measured, 1.10, market.searches().size());
}
