#pragma once
// Message boxes: a text, a title and a flags value (64: information icon and OK,
// 0: OK without icon). They have no owner and are modal to the whole application.

#include <functional>

#include "web/system_texts.h"
#include "web/text.h"

namespace shop {

struct Message {
  Text text;
  Text title;
  int flags = 0;
};

// Shows the message and returns once the user has closed it. Safe from any thread:
// the box is shown on the user-interface thread.
void show_message(const Text& text, const Text& title = kDefaultMessageTitle, int flags = 0);

// Where messages go; the default shows a real message box. Tests install a recorder.
using MessageSink = std::function<void(const Message&)>;
// Installs `sink` (an empty one restores the real box) and returns the previous sink.
MessageSink set_message_sink(MessageSink sink);

}  // namespace shop
