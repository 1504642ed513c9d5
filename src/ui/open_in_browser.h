#pragma once
// Opens an address in the platform's default web browser.

#include <functional>

#include "web/text.h"

namespace shop {

// Does not wait for the browser; a failure to start it is not reported.
void open_in_browser(const Text& address);

// Where addresses go; the default is the desktop's browser. Tests install a recorder.
using BrowserSink = std::function<void(const Text& address)>;
// Installs `sink` (an empty one restores the desktop's browser); returns the previous.
BrowserSink set_browser_sink(BrowserSink sink);

}  // namespace shop
