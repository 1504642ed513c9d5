#include "ranking/ranking_run.h"

#include <QEventLoop>
#include <QRadioButton>
#include <algorithm>
#include <array>
#include <initializer_list>
#include <mutex>
#include <thread>

#include "lists/list_file.h"
#include "lists/list_store.h"
#include "lists/tracking_lists.h"
#include "ranking/sort_orders.h"
#include "ui/control_text.h"
#include "ui/message.h"
#include "ui/ui_thread.h"
#include "web/system_texts.h"

namespace shop {
namespace {

struct RadioChoice {
  const QRadioButton* button;
  SortOrder order;
};

// The sort text of the last checked button among `choices`, or empty text: when
// more than one reads as checked, the last in the list wins.
Text last_checked_value(Marketplace marketplace, std::initializer_list<RadioChoice> choices) {
  Text value;
  for (const RadioChoice& choice : choices) {
    if (choice.button->isChecked()) {
      value = sort_text(marketplace, choice.order).value_or(Text());
    }
  }
  return value;
}

std::vector<QRadioButton*> sort_buttons(const MainForm& form, Marketplace marketplace) {
  if (marketplace == Marketplace::paipai) {
    return {form.默认, form.人气, form.销量, form.价格, form.信用};
  }
  return {form.人气1, form.默认1, form.总价, form.销量1, form.价格1, form.信用1};
}

// The sort choice of the run's marketplace, kept up to date on the user-interface
// thread as the buttons change, so that page tasks read it without waiting for that
// thread.
class SortChoiceWatch {
 public:
  SortChoiceWatch(const MainForm& form, Marketplace marketplace)
      : form_(form), marketplace_(marketplace) {
    update();
    for (QRadioButton* button : sort_buttons(form, marketplace)) {
      connections_.push_back(
          QObject::connect(button, &QRadioButton::toggled, button, [this] { update(); }));
    }
  }
  ~SortChoiceWatch() {
    for (const QMetaObject::Connection& connection : connections_) {
      QObject::disconnect(connection);
    }
  }
  SortChoiceWatch(const SortChoiceWatch&) = delete;
  SortChoiceWatch& operator=(const SortChoiceWatch&) = delete;

  Text value() const {
    std::lock_guard lock(mutex_);
    return value_;
  }

 private:
  void update() {
    Text value = marketplace_ == Marketplace::paipai ? paipai_sort_code(form_)
                                                     : taobao_sort_parameter(form_);
    std::lock_guard lock(mutex_);
    value_ = std::move(value);
  }

  const MainForm& form_;
  const Marketplace marketplace_;
  std::vector<QMetaObject::Connection> connections_;
  mutable std::mutex mutex_;
  Text value_;
};

// Turns the engine's reports into writes of the list view's cells and of the two
// progress bars. Every write is queued to the user-interface thread; no report
// waits for it, except the item-code message, which holds the run until the user
// has closed it.
class WindowReports : public RankingObserver {
 public:
  WindowReports(MainForm& form, TrackingListView& view, Marketplace marketplace)
      : form_(form), view_(view), marketplace_(marketplace) {}

  void row_started(int row, const TrackedItem& row_now, std::int32_t page_count) override {
    post_to_ui_thread([this, row, row_now, page_count] {
      for (const int column : {5, 4, 3}) {
        view_.set_cell(row, column, row_now[static_cast<size_t>(column)]);
      }
      view_.viewport()->repaint();
      form_.进度条1->setValue(0);
      // A range of 0..0 would turn the bar into a busy indicator that never settles.
      form_.进度条1->setMaximum(std::max(page_count, 1));
    });
  }
  void item_key_missing(int) override {
    if (marketplace_ == Marketplace::paipai) {
      on_ui_thread([] { show_message(kItemCodeFailedMessage); });
    }
  }
  void pages_done(int, std::int32_t done, std::int32_t) override {
    post_to_ui_thread([this, done] { form_.进度条1->setValue(done); });
  }
  void position_found(int row, const RowOutcome& found) override {
    post_to_ui_thread([this, row, text = found.text] { view_.set_cell(row, 3, text); });
  }
  void row_finished(int row, const TrackedItem&, const RowOutcome& outcome) override {
    post_to_ui_thread([this, row, text = outcome.text] {
      view_.set_cell(row, 3, text);
      form_.进度条2->setValue(form_.进度条2->value() + 1);
    });
  }

 private:
  MainForm& form_;
  TrackingListView& view_;
  const Marketplace marketplace_;
};

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

std::vector<TrackedItem> rows_of(const TrackingListView& view) {
  std::vector<TrackedItem> rows(static_cast<size_t>(view.row_count()));
  for (int row = 0; row < view.row_count(); ++row) {
    for (size_t column = 0; column < TrackedItem().size(); ++column) {
      rows[static_cast<size_t>(row)][column] = view.cell(row, static_cast<int>(column));
    }
  }
  return rows;
}

// Runs the engine on a thread of its own and handles window events until its last
// report has been carried out.
void check_rows(RankingRunContext& run, Marketplace marketplace, TrackingListView& view) {
  MainForm& form = run.form;
  const SortChoiceWatch sort(form, marketplace);
  RankingOptions options = run.configured;
  options.marketplace = marketplace;
  // Read on the engine's thread at each row's start and end.
  options.page_count_source = [&form] {
    Text text;
    on_ui_thread([&] { text = control_text(form.组合框1); });
    return text;
  };
  options.sort_choice = [&sort] { return sort.value(); };
  options.search_address_parts = run.search_address_parts;

  WindowReports reports(form, view, marketplace);
  std::vector<RankingObserver*> observers{&reports};
  observers.insert(observers.end(), run.observers.begin(), run.observers.end());

  QEventLoop loop;
  bool finished = false;  // set on this thread, after every report has been carried out
  std::thread engine([&, rows = rows_of(view)]() mutable {
    try {
      run_ranking(std::move(rows), options, observers, run.pool);
    } catch (...) {
      // The rows written so far stay; the list is saved as it stands.
    }
    post_to_ui_thread([&] {
      finished = true;
      loop.quit();
    });
  });
  while (!finished) {
    loop.exec();
  }
  engine.join();
}

}  // namespace

Text paipai_sort_code(const MainForm& form) {
  constexpr Marketplace kPaipai = Marketplace::paipai;
  const Text code = last_checked_value(kPaipai, {{form.默认, SortOrder::default_order},
                                                 {form.人气, SortOrder::popularity},
                                                 {form.销量, SortOrder::sales},
                                                 {form.价格, SortOrder::price},
                                                 {form.信用, SortOrder::credit}});
  return code.empty() ? *sort_text(kPaipai, SortOrder::default_order) : code;
}

Text taobao_sort_parameter(const MainForm& form) {
  return last_checked_value(Marketplace::taobao, {{form.人气1, SortOrder::popularity},
                                                  {form.默认1, SortOrder::default_order},
                                                  {form.总价, SortOrder::total_price},
                                                  {form.销量1, SortOrder::sales},
                                                  {form.价格1, SortOrder::price},
                                                  {form.信用1, SortOrder::credit}});
}

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
    check_rows(run, list->marketplace, view);
    const TrackingList saved =
        list->marketplace == Marketplace::paipai ? paipai_list(form) : taobao_list(form);
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
