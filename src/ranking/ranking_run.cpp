#include "ranking/ranking_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "lists/list_store.h"
#include "lists/tracking_lists.h"
#include "ranking/marketplace_scans.h"
#include "ranking/search_scan.h"
#include "ui/control_text.h"
#include "ui/message.h"
#include "web/system_texts.h"

namespace shop {
namespace {

// The longest pause between two looks at the pool while the row's tasks run.
constexpr int kLongestPauseMs = 1000;

// Handles window events until the pool is Idle. The pool wakes the wait the moment
// it becomes Idle; the timer only bounds each pause.
void wait_until_idle(WorkerPool& pool) {
  QEventLoop loop;
  QTimer pause;
  pause.setSingleShot(true);
  QObject::connect(&pause, &QTimer::timeout, &loop, &QEventLoop::quit);
  // The wake-up is a queued call by name, so that no data of the worker thread
  // travels with it; a call still queued when the loop goes is dropped with it, and
  // the callback is removed before that.
  pool.set_idle_callback(
      [&loop] { QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection); });
  while (pool.state() != WorkerPool::Idle) {
    pause.start(kLongestPauseMs);
    loop.exec();
  }
  pool.set_idle_callback({});
}

// Disables the commands that would add, delete or clear rows under the run, and
// gives them back their former state at the end.
class ListEditingPause {
 public:
  explicit ListEditingPause(MainForm& form) : buttons_{form.按钮1, form.按钮3, form.按钮6} {
    for (size_t i = 0; i < buttons_.size(); ++i) {
      enabled_[i] = buttons_[i]->isEnabled();
      buttons_[i]->setEnabled(false);
    }
  }
  ~ListEditingPause() {
    for (size_t i = 0; i < buttons_.size(); ++i) {
      buttons_[i]->setEnabled(enabled_[i]);
    }
  }
  ListEditingPause(const ListEditingPause&) = delete;
  ListEditingPause& operator=(const ListEditingPause&) = delete;

 private:
  std::array<QPushButton*, 3> buttons_;
  std::array<bool, 3> enabled_{};
};

void check_row(RankingRunContext& run, Marketplace marketplace, TrackingListView& view, int row) {
  view.set_cell(row, 5, view.cell(row, 4));
  view.set_cell(row, 4, view.cell(row, 3));
  view.set_cell(row, 3, kCheckingPlaceholder);
  view.viewport()->repaint();

  const Text keyword = view.cell(row, 1);
  const std::int32_t page_count = parse_page_count(control_text(run.form.组合框1));
  const Text item_address = view.cell(row, 2);
  if (marketplace == Marketplace::Paipai) {
    start_paipai_row_check(run, keyword, page_count, row, item_address);
  } else {
    start_taobao_row_check(run, keyword, page_count, row, item_address);
  }
  wait_until_idle(run.pool);

  if (view.cell(row, 3) == kCheckingPlaceholder) {
    view.set_cell(row, 3, not_within_text(control_text(run.form.组合框1)));
  }
}

}  // namespace

void run_ranking_check(RankingRunContext& run) {
  MainForm& form = run.form;
  const std::optional<TrackingList> list =
      tracking_list_of_page(form, form.选择夹1->currentIndex());
  if (!list || run.running_list != nullptr) {
    return;
  }
  TrackingListView& view = *list->view;
  form.按钮2->setEnabled(false);
  const int row_count = view.row_count();
  // A range of 0..0 would turn the bar into a busy indicator.
  form.进度条2->setMaximum(std::max(row_count, 1));
  form.进度条2->setValue(0);
  if (row_count < 1) {
    show_message(kAddRowFirstMessage, kHintTitle, 64);
    form.按钮2->setEnabled(true);
    return;
  }

  run.running_list = &view;
  {
    ListEditingPause editing(form);
    for (int row = 0; row < row_count; ++row) {
      check_row(run, list->marketplace, view, row);
      form.进度条2->setValue(form.进度条2->value() + 1);
    }
    const TrackingList saved =
        list->marketplace == Marketplace::Paipai ? paipai_list(form) : taobao_list(form);
    save_list_file(view, saved.file);
  }
  run.running_list = nullptr;
  // A page change during the run left this list alone; if its page is no longer
  // shown, empty it now as the page change would have.
  const TrackingList shown =
      form.选择夹1->currentIndex() == 0 ? paipai_list(form) : taobao_list(form);
  if (shown.view != &view) {
    view.remove_all_rows();
  }
  form.按钮2->setEnabled(true);
}

}  // namespace shop
