#include "app/help_page.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace shop {
namespace {

constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// The program's cache folder, created if need be and closed to other users.
QString private_cache_folder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (folder.isEmpty() || !QDir().mkpath(folder) || !QFile::setPermissions(folder, kOwnerOnly)) {
    return {};
  }
  return folder;
}

}  // namespace

std::optional<Text> write_bundled_help_page() {
  const QString folder = private_cache_folder();
  if (folder.isEmpty()) {
    return std::nullopt;
  }
  const QString path = QDir(folder).filePath("help.html");
  QFile bundled(":/pages/help.html");
  // A save file replaces whatever was there (a link included) instead of writing into it.
  QSaveFile copy(path);
  if (!bundled.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly) ||
      copy.write(bundled.readAll()) < 0 || !copy.commit()) {
    return std::nullopt;
  }
  const QByteArray url = QUrl::fromLocalFile(path).toEncoded();
  return Text(url.constData(), static_cast<size_t>(url.size()));
}

}  // namespace shop
