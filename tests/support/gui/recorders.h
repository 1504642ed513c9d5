#pragma once
// Recorders for what the window shows outside itself: message boxes and addresses
// sent to the system browser. A test fails on a message it did not take.

#include <mutex>
#include <vector>

#include "ui/message.h"
#include "ui/open_in_browser.h"

namespace shop::testing {

class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();

  // The messages shown since the last take, in order; they count as expected.
  std::vector<Message> take();

 private:
  std::mutex mutex_;
  std::vector<Message> messages_;
  MessageSink previous_;
};

class BrowserRecorder {
 public:
  BrowserRecorder();
  ~BrowserRecorder();

  std::vector<Text> take();

 private:
  std::mutex mutex_;
  std::vector<Text> addresses_;
  BrowserSink previous_;
};

}  // namespace shop::testing

namespace shop {
bool operator==(const Message& a, const Message& b);
void PrintTo(const Message& message, std::ostream* out);
}  // namespace shop
