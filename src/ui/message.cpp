#include "ui/message.h"

#include <QMessageBox>
#include <mutex>

#include "ui/gbk.h"
#include "ui/ui_thread.h"

namespace shop {
namespace {

std::mutex sink_mutex;
MessageSink installed_sink;

QMessageBox::Icon icon_for(int flags) {
  switch (flags & 0xF0) {
    case 16:
      return QMessageBox::Critical;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    case 64:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

void show_message_box(const Message& message) {
  QMessageBox box(icon_for(message.flags), from_gbk(message.title), from_gbk(message.text),
                  QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

MessageSink current_sink() {
  std::lock_guard lock(sink_mutex);
  return installed_sink;
}

}  // namespace

void show_message(const Text& text, const Text& title, int flags) {
  const Message message{text, title, flags};
  on_ui_thread([&message] {
    const MessageSink sink = current_sink();
    if (sink) {
      sink(message);
    } else {
      show_message_box(message);
    }
  });
}

MessageSink set_message_sink(MessageSink sink) {
  std::lock_guard lock(sink_mutex);
  return std::exchange(installed_sink, std::move(sink));
}

}  // namespace shop
