#pragma once
// Recorders for what the window shows outside itself: message boxes and addresses
// sent to the system browser. A test fails on a message it did not take.

#include <mutex>
#include <utility>
#include <vector>

#include "ui/message.h"
#include "ui/open_in_browser.h"

namespace shop::testing {

// What a sink received, in order; safe from any thread.
template <class Item>
class Recorded {
 public:
  void add(const Item& item) {
    std::lock_guard lock(mutex_);
    items_.push_back(item);
  }
  // The items received since the last take.
  std::vector<Item> take() {
    std::lock_guard lock(mutex_);
    return std::exchange(items_, {});
  }

 private:
  std::mutex mutex_;
  std::vector<Item> items_;
};

// Messages taken count as expected; one left untaken fails the test.
class MessageRecorder : public Recorded<Message> {
 public:
  MessageRecorder();
  ~MessageRecorder();

 private:
  MessageSink previous_;
};

class BrowserRecorder : public Recorded<Text> {
 public:
  BrowserRecorder();
  ~BrowserRecorder();

 private:
  BrowserSink previous_;
};

}  // namespace shop::testing

namespace shop {
bool operator==(const Message& a, const Message& b);
void PrintTo(const Message& message, std::ostream* out);
}  // namespace shop
