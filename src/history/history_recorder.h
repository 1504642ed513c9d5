#pragma once
// Writes one history record per finished row. The history is an addition to the
// ranking run: a problem with it is reported once and never stops the run.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "history/check_record.h"
#include "history/history_store.h"
#include "web/text.h"

namespace shop {

// A finished row check as the run knows it, in the row's GBK texts.
struct FinishedRow {
  std::string_view marketplace;  // kPaipaiName or kTaobaoName
  Text keyword;
  Text item_address;
  Text sort_choice;
  std::int64_t page_count = 0;
  CheckOutcome outcome = CheckOutcome::failed;
  std::int64_t page = 0;  // when found
  std::int64_t place = 0;
  Text result_text;  // the row's 排名 column after the check
};

CheckRecord make_check_record(const FinishedRow& row, std::string time);

// The message for a history that cannot be used, in GBK.
Text history_problem_message(HistoryProblem problem);

class HistoryRecorder {
 public:
  using Report = std::function<void(const Text& message)>;

  // The file is opened, and created, only when the first row is recorded.
  HistoryRecorder(std::filesystem::path file, Report report);
  ~HistoryRecorder();

  // Never throws. The first problem is reported; a file that is not a usable
  // history is then left alone for the rest of the run, while a failed write
  // (locked, disk full) is tried again with the next row.
  void record(const FinishedRow& row) noexcept;
  void record(const CheckRecord& record) noexcept;

 private:
  void report_once(HistoryProblem problem) noexcept;

  std::filesystem::path file_;
  Report report_;
  std::unique_ptr<HistoryStore> store_;
  bool reported_ = false;
  bool unusable_ = false;
};

}  // namespace shop
