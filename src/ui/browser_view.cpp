#include "ui/browser_view.h"

#include <QUrl>

#include "ui/open_in_browser.h"

namespace shop {

BrowserView::BrowserView(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setFrameShape(QFrame::NoFrame);
  connect(this, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
    const QByteArray encoded = url.toEncoded();
    open_in_browser(Text(encoded.constData(), static_cast<size_t>(encoded.size())));
  });
}

void BrowserView::navigate(const Text& address) {
  address_ = address;
  const QByteArray encoded(address.data(), static_cast<qsizetype>(address.size()));
  setSource(QUrl::fromEncoded(encoded, QUrl::TolerantMode));
}

}  // namespace shop
