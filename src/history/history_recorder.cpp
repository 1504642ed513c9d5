#include "history/history_recorder.h"

#include "ranking/ranking_engine.h"
#include "web/system_texts.h"
#include "web/unicode_text.h"

namespace shop {

CheckRecord make_check_record(const FinishedRow& row, std::string time) {
  CheckRecord record;
  record.time = std::move(time);
  record.marketplace = std::string(row.marketplace);
  record.keyword = gbk_to_utf8(row.keyword);
  record.item_address = gbk_to_utf8(row.item_address);
  record.item_key = gbk_to_utf8(
      item_key_of(row.marketplace == kTaobaoName ? Marketplace::taobao : Marketplace::paipai,
                  row.item_address));
  record.sort_choice = gbk_to_utf8(row.sort_choice);
  record.page_count = row.page_count;
  record.outcome = row.outcome;
  record.result_text = gbk_to_utf8(row.result_text);
  if (row.outcome == CheckOutcome::found) {
    record.page = row.page;
    record.place = row.place;
    record.rank = plottable_rank(row.marketplace, row.page, row.place);
  }
  return record;
}

Text history_problem_message(HistoryProblem problem) {
  switch (problem) {
    case HistoryProblem::not_a_database:
      return kHistoryNotDatabaseMessage;
    case HistoryProblem::newer_version:
      return kHistoryNewerVersionMessage;
    case HistoryProblem::failed:
      break;
  }
  return kHistoryWriteFailedMessage;
}

HistoryRecorder::HistoryRecorder(std::filesystem::path file, Report report)
    : file_(std::move(file)), report_(std::move(report)) {}

HistoryRecorder::~HistoryRecorder() = default;

void HistoryRecorder::record(const FinishedRow& row) noexcept {
  try {
    record(make_check_record(row, current_record_time()));
  } catch (...) {
    report_once(HistoryProblem::failed);
  }
}

void HistoryRecorder::record(const CheckRecord& record) noexcept {
  if (unusable_) {
    return;
  }
  try {
    if (!store_) {
      store_ = HistoryStore::open(file_);
    }
    store_->add(record);
  } catch (const HistoryError& error) {
    if (error.problem() != HistoryProblem::failed) {
      unusable_ = true;
    }
    report_once(error.problem());
  } catch (...) {
    report_once(HistoryProblem::failed);
  }
}

void HistoryRecorder::report_once(HistoryProblem problem) noexcept {
  if (reported_ || !report_) {
    return;
  }
  reported_ = true;
  try {
    report_(history_problem_message(problem));
  } catch (...) {
  }
}

}  // namespace shop
