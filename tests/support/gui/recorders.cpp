#include "support/gui/recorders.h"

#include <gtest/gtest.h>

#include <ostream>

#include "ui/gbk.h"

namespace shop::testing {

MessageRecorder::MessageRecorder() {
  previous_ = set_message_sink([this](const Message& message) { add(message); });
}

MessageRecorder::~MessageRecorder() {
  set_message_sink(previous_);
  for (const Message& message : take()) {
    ADD_FAILURE() << "unexpected message: " << from_gbk(message.text).toStdString();
  }
}

BrowserRecorder::BrowserRecorder() {
  previous_ = set_browser_sink([this](const Text& address) { add(address); });
}

BrowserRecorder::~BrowserRecorder() {
  set_browser_sink(previous_);
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
