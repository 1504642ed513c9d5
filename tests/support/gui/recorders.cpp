#include "support/gui/recorders.h"

#include <gtest/gtest.h>

#include <ostream>

#include "ui/gbk.h"

namespace shop::testing {

MessageRecorder::MessageRecorder() {
  previous_ = set_message_sink([this](const Message& message) {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
  });
}

MessageRecorder::~MessageRecorder() {
  set_message_sink(previous_);
  for (const Message& message : messages_) {
    ADD_FAILURE() << "unexpected message: " << from_gbk(message.text).toStdString();
  }
}

std::vector<Message> MessageRecorder::take() {
  std::lock_guard lock(mutex_);
  return std::exchange(messages_, {});
}

BrowserRecorder::BrowserRecorder() {
  previous_ = set_browser_sink([this](const Text& address) {
    std::lock_guard lock(mutex_);
    addresses_.push_back(address);
  });
}

BrowserRecorder::~BrowserRecorder() {
  set_browser_sink(previous_);
}

std::vector<Text> BrowserRecorder::take() {
  std::lock_guard lock(mutex_);
  return std::exchange(addresses_, {});
}

}  // namespace shop::testing

namespace shop {

bool operator==(const Message& a, const Message& b) {
  return a.text == b.text && a.title == b.title && a.flags == b.flags;
}

void PrintTo(const Message& message, std::ostream* out) {
  *out << "{\"" << from_gbk(message.text).toStdString() << "\", \""
       << from_gbk(message.title).toStdString() << "\", " << message.flags << "}";
}

}  // namespace shop
