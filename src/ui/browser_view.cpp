#include "ui/browser_view.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStringDecoder>
#include <QUrl>
#include <thread>

#include "ui/open_in_browser.h"
#include "web/page_fetch.h"

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
  ++generation_;
  if (address.rfind("http://", 0) == 0 || address.rfind("https://", 0) == 0) {
    fetch_in_background(address);
    return;
  }
  const QByteArray encoded(address.data(), static_cast<qsizetype>(address.size()));
  setSource(QUrl::fromEncoded(encoded, QUrl::TolerantMode));
}

void BrowserView::fetch_in_background(const Text& address) {
  std::thread([address, generation = generation_, view = QPointer<BrowserView>(this)] {
    PageRequest request;
    request.address = address;
    std::string body = fetch_page(request);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [view, generation, body = std::move(body)] {
          if (view) {
            view->show_fetched(generation, body);
          }
        },
        Qt::QueuedConnection);
  }).detach();
}

void BrowserView::show_fetched(unsigned generation, const std::string& body) {
  if (generation != generation_ || body.empty()) {
    return;
  }
  const QByteArrayView bytes(body.data(), static_cast<qsizetype>(body.size()));
  QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
  setHtml(decoder.isValid() ? decoder.decode(bytes) : QString::fromUtf8(bytes));
}

}  // namespace shop
