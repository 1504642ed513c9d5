#include "support/gui/window_harness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "app/process_exit.h"

namespace shop::testing {

WindowHarness::WindowHarness() {
  set_process_ender([this](int code) { exit_requests_.push_back(code); });
}

WindowHarness::~WindowHarness() {
  stop();
  set_process_ender({});
}

void WindowHarness::start() {
  state_ = std::make_unique<AppState>();
  window_ = std::make_unique<MainWindow>(*state_);
}

void WindowHarness::restart() {
  stop();
  start();
}

void WindowHarness::stop() {
  window_.reset();
  state_.reset();
}

bool wait_until(const std::function<bool()>& condition, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeout_ms) {
      return false;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace shop::testing
