#pragma once
// A main window in a fresh temporary working directory, for window tests: the
// process is not ended when the window closes, and the window can be restarted
// from the same files.

#include <QWidget>
#include <functional>
#include <memory>

#include "app/app_state.h"
#include "app/main_window.h"
#include "support/core/temp_dir.h"

namespace shop::testing {

class WindowHarness {
 public:
  WindowHarness();
  ~WindowHarness();

  // Creates the shared state and the window (running its created handler).
  void start();
  // Destroys the window and the state and creates them again from the same files.
  void restart();
  void stop();

  MainWindow& window() { return *window_; }
  MainForm& form() { return window_->form(); }
  AppState& state() { return *state_; }
  const TempWorkingDirectory& directory() const { return directory_; }

  template <class Control>
  Control* control(const char* name) {
    return window_->findChild<Control*>(QString::fromUtf8(name));
  }

  // Exit codes the window asked the process to end with.
  const std::vector<int>& exit_requests() const { return exit_requests_; }

 private:
  TempWorkingDirectory directory_;
  std::unique_ptr<AppState> state_;
  std::unique_ptr<MainWindow> window_;
  std::vector<int> exit_requests_;
};

// Processes window events until `condition` holds or `timeout_ms` has passed;
// returns whether it holds.
bool wait_until(const std::function<bool()>& condition, int timeout_ms = 10000);

}  // namespace shop::testing
