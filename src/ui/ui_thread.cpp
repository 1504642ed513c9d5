#include "ui/ui_thread.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace shop {
namespace {

// One call waiting for the user-interface thread. The hand-over goes through
// standard locks rather than through data carried by Qt's event queue, so that the
// thread sanitizer sees what orders the worker's and the interface thread's
// accesses (Qt's own locks are invisible to it).
struct PendingCall {
  explicit PendingCall(const std::function<void()>& call) : work(&call) {}
  const std::function<void()>* work;
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
};

// Waiting calls and posted ones share one queue, so they run in the order given.
struct QueuedCall {
  PendingCall* waiting = nullptr;  // null: a posted call
  std::function<void()> posted;
};

std::mutex pending_mutex;
std::deque<QueuedCall> pending_calls;

void run_pending_calls() {
  for (;;) {
    QueuedCall next;
    {
      std::lock_guard lock(pending_mutex);
      if (pending_calls.empty()) {
        return;
      }
      next = std::move(pending_calls.front());
      pending_calls.pop_front();
    }
    if (next.waiting == nullptr) {
      next.posted();
      continue;
    }
    PendingCall* call = next.waiting;
    (*call->work)();
    std::lock_guard lock(call->mutex);
    call->done = true;
    call->finished.notify_one();
  }
}

// Runs the waiting calls when the queued wake-up reaches the interface thread.
class CallRunner : public QObject {
  Q_OBJECT

 public:
  Q_INVOKABLE void run_pending() { run_pending_calls(); }
};

// Made on the interface thread as the application starts, before any worker thread
// can exist, and owned by the application.
CallRunner* call_runner = nullptr;

void make_call_runner() {
  call_runner = new CallRunner;
  call_runner->setParent(QCoreApplication::instance());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(make_call_runner)

bool is_ui_thread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app == nullptr || QThread::currentThread() == app->thread();
}

void on_ui_thread(const std::function<void()>& work) {
  if (is_ui_thread()) {
    work();
    return;
  }
  PendingCall call(work);
  {
    std::lock_guard lock(pending_mutex);
    pending_calls.push_back({&call, {}});
  }
  // The queued wake-up carries no data; whichever wake-up comes first runs every
  // call waiting by then.
  QMetaObject::invokeMethod(call_runner, "run_pending", Qt::QueuedConnection);
  std::unique_lock lock(call.mutex);
  call.finished.wait(lock, [&call] { return call.done; });
}

void post_to_ui_thread(std::function<void()> work) {
  {
    std::lock_guard lock(pending_mutex);
    pending_calls.push_back({nullptr, std::move(work)});
  }
  QMetaObject::invokeMethod(call_runner, "run_pending", Qt::QueuedConnection);
}

}  // namespace shop

#include "ui_thread.moc"
