#pragma once
// An embedded browser view: shows bundled pages, local files and remote pages as
// rich text, without ever running scripts.

#include <QTextBrowser>

#include "web/text.h"

namespace shop {

class BrowserView : public QTextBrowser {
  Q_OBJECT

 public:
  explicit BrowserView(QWidget* parent = nullptr);

  // Shows the page at `address`; returns at once. Remote http(s) pages are fetched on
  // a background thread; a page that cannot be fetched leaves the view as it was.
  // Links open in the system browser.
  void navigate(const Text& address);
  // The address last navigated to.
  const Text& address() const { return address_; }

 private:
  void fetch_in_background(const Text& address);
  void show_fetched(unsigned generation, const std::string& body);

  Text address_;
  unsigned generation_ = 0;  // pages that arrive after a newer navigate are dropped
};

}  // namespace shop
