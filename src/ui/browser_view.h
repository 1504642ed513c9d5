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

  // Shows the page at `address`; returns at once. Links open in the system browser.
  void navigate(const Text& address);
  // The address last navigated to.
  const Text& address() const { return address_; }

 private:
  Text address_;
};

}  // namespace shop
