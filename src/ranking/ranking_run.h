#pragma once
// The ranking check run of the window: the click handler of 按钮2. It hands the rows
// of the list of the current page to the ranking engine, turns the engine's reports
// into cell writes and progress-bar positions on the user-interface thread, keeps
// the window alive while the run lasts, and saves the list once at the end.

#include <vector>

#include "ranking/ranking_engine.h"
#include "ranking/worker_pool.h"
#include "ui/main_form.h"
#include "web/text.h"

namespace shop {

// What the run shares with the rest of the window, handed in by the main window.
struct RankingRunContext {
  MainForm& form;
  WorkerPool& pool;
  // Pieces 0-2 frame the Paipai search address, pieces 3-4 the Taobao one.
  const std::vector<Text>& search_address_parts;
  // What the settings decide about a run: the page requests' headers and proxy,
  // threads per row, the pause between rows and the scan rules. The run fills in
  // the rest.
  RankingOptions configured = {};
  // Further observers of every run. They are called on the engine's and the pool's
  // threads, never on the user-interface thread.
  std::vector<RankingObserver*> observers = {};
  // The list view a run is working on, else null. A page change must leave it
  // alone: the run writes into its rows by index and saves it at the end.
  TrackingListView* running_list = nullptr;
};

void run_ranking_check(RankingRunContext& run);

// The sort choice of each marketplace as the window's radio buttons show it; call on
// the user-interface thread. With no Paipai button selected the code is "77", with
// no Taobao button the parameter is empty.
Text paipai_sort_code(const MainForm& form);
Text taobao_sort_parameter(const MainForm& form);

}  // namespace shop
