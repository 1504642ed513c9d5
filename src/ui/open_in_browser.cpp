#include "ui/open_in_browser.h"

#include <QDesktopServices>
#include <QUrl>
#include <mutex>

namespace shop {
namespace {
std::mutex sink_mutex;
BrowserSink installed_sink;
}  // namespace

void open_in_browser(const Text& address) {
  BrowserSink sink;
  {
    std::lock_guard lock(sink_mutex);
    sink = installed_sink;
  }
  if (sink) {
    sink(address);
    return;
  }
  // The address goes to the desktop's URL handler as data, never through a shell.
  const QByteArray encoded(address.data(), static_cast<qsizetype>(address.size()));
  QDesktopServices::openUrl(QUrl::fromEncoded(encoded, QUrl::TolerantMode));
}

BrowserSink set_browser_sink(BrowserSink sink) {
  std::lock_guard lock(sink_mutex);
  return std::exchange(installed_sink, std::move(sink));
}

}  // namespace shop
