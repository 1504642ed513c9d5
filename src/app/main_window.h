#pragma once
// The main window: builds the form, binds every control event to its handler and
// brings the window into its working state once it has been created.

#include <QWidget>

#include "app/app_state.h"
#include "ranking/ranking_run.h"
#include "ui/main_form.h"

namespace shop {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Builds the form and runs the created handler; show() shows the window.
  explicit MainWindow(AppState& state);

  MainForm& form() { return form_; }
  AppState& state() { return state_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void bind_events();
  void on_created();
  void run_ranking_check_with_history();
  void on_page_changed();
  void open_help_page();
  void load_list_of_current_page();

  AppState& state_;
  MainForm form_;
  RankingRunContext ranking_;
};

}  // namespace shop
