#pragma once
// The rank history as an observer of the ranking engine: one record per finished
// row. Nothing in the scans or the pool knows about it.

#include <filesystem>
#include <functional>

#include "history/history_recorder.h"
#include "ranking/ranking_engine.h"

namespace shop {

class HistoryObserver : public RankingObserver {
 public:
  // `sort_choice` gives the sort text of the run (called on the engine's thread at
  // each row's end); `report` is told, once per run, why the history cannot be kept.
  HistoryObserver(std::filesystem::path file, Marketplace marketplace,
                  std::function<Text()> sort_choice, HistoryRecorder::Report report);

  void row_started(int row, const TrackedItem& row_now, std::int32_t page_count) override;
  void row_finished(int row, const TrackedItem& row_after, const RowOutcome& outcome) override;

 private:
  Marketplace marketplace_;
  std::function<Text()> sort_choice_;
  std::int32_t page_count_ = 0;
  HistoryRecorder recorder_;
};

}  // namespace shop
