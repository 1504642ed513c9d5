#include "app/main_window.h"

#include <QCloseEvent>
#include <QIcon>

#include "app/help_page.h"
#include "app/private_profile.h"
#include "app/process_exit.h"
#include "codegen/code_generators.h"
#include "friendlinks/friend_link_check.h"
#include "history/check_record.h"
#include "history/history_menu.h"
#include "history/history_observer.h"
#include "history/history_store.h"
#include "lists/file_reports.h"
#include "lists/file_store.h"
#include "lists/list_commands.h"
#include "lists/list_store.h"
#include "lists/tracking_lists.h"
#include "ui/gbk.h"
#include "ui/message.h"
#include "ui/open_in_browser.h"
#include "ui/ui_thread.h"
#include "web/system_texts.h"

namespace shop {
namespace {

const Settings& load_settings_into(AppState& state) {
  state.settings = load_settings(working_directory_file(kSettingsFile));
  return state.settings;
}

// One message for each INI file of the working directory that could not be read.
void report_unread_profiles() {
  const auto report = [](const char* name, const Text& consequence) {
    const std::filesystem::path file = working_directory_file(name);
    report_file_problem(file, profile_file_problem(file), kProfileFileSizeLimit, consequence);
  };
  report(kSettingsFile, kDefaultSettingsUsedText);
  report(kControlStateFile, kInputsNotKeptText);
}

}  // namespace

MainWindow::MainWindow(AppState& state)
    : state_(state),
      form_(this, load_settings_into(state).paipai_item_site),
      ranking_{form_, state.worker_pool, state.search_address_parts} {
  QFont font;
  font.setPixelSize(12);
  setFont(font);
  setWindowTitle(QString::fromUtf8(kFormCaption));
  setWindowIcon(QIcon(":/images/icon.png"));
  move(50, 50);
  setFixedSize(kClientSize);
  bind_events();
  on_created();
}

// Every control event of the window and the handler it runs, in one place.
void MainWindow::bind_events() {
  connect(form_.选择夹1, &QTabWidget::currentChanged, this, [this] { on_page_changed(); });
  form_.编辑框2->installEventFilter(this);
  connect(form_.按钮8, &QPushButton::clicked, this, [this] { open_help_page(); });

  connect(form_.按钮1, &QPushButton::clicked, this, [this] { add_tracked_item(form_); });
  connect(form_.按钮3, &QPushButton::clicked, this, [this] { delete_selected_item(form_); });
  connect(form_.按钮6, &QPushButton::clicked, this, [this] { clear_tracking_list(form_); });
  connect(form_.按钮7, &QPushButton::clicked, this, [this] { clear_inputs(form_); });
  connect(form_.按钮4, &QPushButton::clicked, this,
          [this] { open_paipai_search(form_, state_.settings.paipai_search_site); });
  for (TrackingListView* view : {form_.超级列表框1, form_.超级列表框2}) {
    connect(view, &TrackingListView::row_activated, this,
            [this, view] { copy_row_back(form_, *view); });
  }
  add_history_menu(*form_.超级列表框1, kPaipaiName);
  add_history_menu(*form_.超级列表框2, kTaobaoName);

  // Input values stored at every change; a restore's own changes are not stored.
  for (QLineEdit* box : {form_.编辑框1, form_.编辑框2, form_.店铺地址}) {
    connect(box, &QLineEdit::textChanged, this,
            [this, box] { state_.control_state.save_event_edit_box(box); });
  }
  const auto store_combo_box = [this] { state_.control_state.save_event_combo_box(form_.组合框1); };
  connect(form_.组合框1, &QComboBox::textActivated, this, store_combo_box);
  connect(form_.组合框1->lineEdit(), &QLineEdit::textEdited, this, store_combo_box);

  connect(form_.按钮_友情检测, &QPushButton::clicked, this, [this] {
    const Settings& settings = state_.settings;
    on_friend_link_check_clicked(form_, friend_link_sites(settings), settings.friend_link_rules,
                                 request_template(settings.requests));
  });
  connect(form_.按钮9, &QPushButton::clicked, this, [this] { generate_music_code(form_); });
  connect(form_.按钮10, &QPushButton::clicked, this,
          [this] { generate_wangwang_code(form_, state_.settings.wangwang_status_host); });
  connect(form_.按钮2, &QPushButton::clicked, this, [this] { run_ranking_check_with_history(); });
}

// A ranking run whose every finished row is also kept in the rank history.
void MainWindow::run_ranking_check_with_history() {
  const std::optional<TrackingList> list =
      tracking_list_of_page(form_, form_.选择夹1->currentIndex());
  if (!list || ranking_.running_list != nullptr) {
    run_ranking_check(ranking_);
    return;
  }
  const Marketplace marketplace = list->marketplace;
  HistoryObserver history(
      history_file(), marketplace,
      [this, marketplace] {
        Text sort;
        on_ui_thread([&] {
          sort = marketplace == Marketplace::paipai ? paipai_sort_code(form_)
                                                    : taobao_sort_parameter(form_);
        });
        return sort;
      },
      [](const Text& problem) { show_message(problem, kHistoryTitle, 64); });
  ranking_.observers.push_back(&history);
  run_ranking_check(ranking_);
  ranking_.observers.pop_back();
}

void MainWindow::on_created() {
  const Settings& settings = state_.settings;
  setWindowTitle(windowTitle() +
                 from_gbk(" V2.0  " + settings.vendor_name + kVendorSiteLabel +
                          settings.vendor_site + "  QQ:" + settings.vendor_contact));
  form_.超文本浏览框1->navigate(settings.banner_page);
  form_.超文本浏览框2->navigate(settings.product_page);
  // The saved control states are restored here.
  state_.control_state.attach(working_directory_file(kControlStateFile),
                              form_.input_controls_in_form_order());
  state_.control_state.restore_all();
  report_unread_profiles();
  form_.组合框1->setEnabled(true);
  load_list_of_current_page();
  state_.search_address_parts = settings.search_address_parts;
  apply_ranking_settings(settings, ranking_.configured);
  if (!settings.problems.empty()) {
    show_message(settings_problems_message(settings.problems), kSettingsTitle, 64);
  }
}

void MainWindow::load_list_of_current_page() {
  const TrackingList list =
      form_.选择夹1->currentIndex() == 0 ? paipai_list(form_) : taobao_list(form_);
  // The list under a ranking run keeps its rows: the run writes into them by index.
  if (list.view != ranking_.running_list) {
    load_list_file(*list.view, list.file);
  }
}

void MainWindow::on_page_changed() {
  for (TrackingListView* view : {form_.超级列表框1, form_.超级列表框2}) {
    if (view != ranking_.running_list) {
      view->remove_all_rows();
    }
  }
  if (form_.选择夹1->currentIndex() == 0) {
    form_.按钮2->setText(QString::fromUtf8("开始拍拍检测排名"));
    form_.按钮1->setText(QString::fromUtf8("拍拍宝贝添加"));
  } else {
    form_.按钮2->setText(QString::fromUtf8("开始淘宝检测排名"));
    form_.按钮1->setText(QString::fromUtf8("淘宝宝贝添加"));
  }
  load_list_of_current_page();
}

void MainWindow::open_help_page() {
  const Text& help = state_.settings.help_page;
  if (!help.empty()) {
    open_in_browser(help);
  } else if (const std::optional<Text> bundled = write_bundled_help_page()) {
    open_in_browser(*bundled);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_.编辑框2 && event->type() == QEvent::MouseButtonDblClick) {
    form_.编辑框2->clear();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  end_process(0);
}

}  // namespace shop
