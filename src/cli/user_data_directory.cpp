#include "cli/user_data_directory.h"

#include <QStandardPaths>

namespace shop {

QString user_data_directory() {
  // The generic location, not the per-application one, so that the folder does not
  // depend on the application or organisation names the process sets.
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/shopkeeper");
}

}  // namespace shop
