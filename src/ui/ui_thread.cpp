#include "ui/ui_thread.h"

#include <QCoreApplication>
#include <QThread>

namespace shop {

bool is_ui_thread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app == nullptr || QThread::currentThread() == app->thread();
}

void on_ui_thread(const std::function<void()>& work) {
  if (is_ui_thread()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&work] { work(); }, Qt::BlockingQueuedConnection);
}

}  // namespace shop
