#include "ui/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace shop {

// Converters are costly to create, so each thread keeps one of each; the state is
// reset before every conversion so that a cut-off character never leaks into the next.
QString from_gbk(const Text& text) {
  thread_local QStringDecoder decoder("GBK");
  decoder.resetState();
  return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

Text to_gbk(const QString& text) {
  thread_local QStringEncoder encoder("GBK");
  encoder.resetState();
  const QByteArray bytes = encoder.encode(text);
  return Text(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace shop
