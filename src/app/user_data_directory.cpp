#include "app/user_data_directory.h"

#include <QDir>
#include <QStandardPaths>

namespace shop {

QString user_data_directory() {
  // The generic location, not the per-application one, so that the folder does not
  // depend on the application or organisation names the process sets.
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/shopkeeper");
}

bool enter_working_directory(const QString& path) {
  return !path.isEmpty() && QDir().mkpath(path) && QDir::setCurrent(path);
}

}  // namespace shop
