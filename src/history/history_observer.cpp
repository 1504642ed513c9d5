#include "history/history_observer.h"

namespace shop {
namespace {

CheckOutcome outcome_of(RowOutcome::Kind kind) {
  switch (kind) {
    case RowOutcome::Kind::found:
      return CheckOutcome::found;
    case RowOutcome::Kind::not_within:
      return CheckOutcome::not_within;
    case RowOutcome::Kind::failed:
      break;
  }
  return CheckOutcome::failed;
}

}  // namespace

HistoryObserver::HistoryObserver(std::filesystem::path file, Marketplace marketplace,
                                 std::function<Text()> sort_choice, HistoryRecorder::Report report)
    : marketplace_(marketplace),
      sort_choice_(std::move(sort_choice)),
      recorder_(std::move(file), std::move(report)) {}

void HistoryObserver::row_started(int, const TrackedItem&, std::int32_t page_count) {
  page_count_ = page_count;
}

void HistoryObserver::row_finished(int, const TrackedItem& row_after, const RowOutcome& outcome) {
  FinishedRow row;
  row.marketplace = marketplace_ == Marketplace::paipai ? kPaipaiName : kTaobaoName;
  row.keyword = row_after[1];
  row.item_address = row_after[2];
  try {
    row.sort_choice = sort_choice_ ? sort_choice_() : Text();
  } catch (...) {
  }
  row.page_count = page_count_;
  row.outcome = outcome_of(outcome.kind);
  row.page = outcome.page;
  row.place = outcome.place;
  row.result_text = outcome.text;
  recorder_.record(row);
}

}  // namespace shop
