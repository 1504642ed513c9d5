#pragma once
// The ranking check run: the click handler of 按钮2. It walks the rows of the list
// of the current page one after another, hands each to its marketplace's row
// check, waits for the row's page tasks while the window stays alive, and saves the
// list once at the end.

#include <vector>

#include "ranking/row_check.h"
#include "ranking/worker_pool.h"
#include "ui/main_form.h"
#include "web/text.h"

namespace shop {

// What the run and its page tasks share, handed in by the main window.
struct RankingRunContext {
  MainForm& form;
  WorkerPool& pool;
  RowCheck& row_check;
  // Pieces 0-2 frame the Paipai search address, pieces 3-4 the Taobao one.
  const std::vector<Text>& search_address_parts;
  // The list view a run is working on, else null. A page change must leave it
  // alone: the run writes into its rows by index and saves it at the end.
  TrackingListView* running_list = nullptr;
};

void run_ranking_check(RankingRunContext& run);

}  // namespace shop
