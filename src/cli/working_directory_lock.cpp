#include "cli/working_directory_lock.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace shop {
namespace {

bool is_own_directory(const QString& path) {
  const QFileInfo info(path);
  return !path.isEmpty() && info.isDir() && info.isWritable() && info.ownerId() == ::getuid();
}

QString canonical_path(const QString& directory) {
  const QString canonical = QFileInfo(directory).canonicalFilePath();
  return canonical.isEmpty() ? QFileInfo(directory).absoluteFilePath() : canonical;
}

}  // namespace

QString WorkingDirectoryLock::lock_directory() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (QDir::isAbsolutePath(runtime) && is_own_directory(runtime)) {
    return runtime;
  }
  const QString user_runtime = QStringLiteral("/run/user/%1").arg(::getuid());
  if (is_own_directory(user_runtime)) {
    return user_runtime;
  }
  const QString own = QDir::temp().filePath(QStringLiteral("shopkeeper-%1").arg(::getuid()));
  QDir().mkpath(own);
  QFile::setPermissions(own,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return own;
}

WorkingDirectoryLock::WorkingDirectoryLock(const QString& directory) {
  // A path can be longer than a file name may be: the name holds a digest of it.
  const QByteArray digest =
      QCryptographicHash::hash(canonical_path(directory).toUtf8(), QCryptographicHash::Sha256)
          .toHex()
          .left(32);
  path_ = QDir(lock_directory())
              .filePath(QStringLiteral("shopkeeper-%1.lock").arg(QString::fromLatin1(digest)));
  file_ = std::make_unique<QLockFile>(path_);
  // Never stale by age: a long run keeps its lock; one whose process ended loses it.
  file_->setStaleLockTime(0);
}

WorkingDirectoryLock::~WorkingDirectoryLock() = default;

bool WorkingDirectoryLock::try_lock() {
  return file_->isLocked() || file_->tryLock(0);
}

bool WorkingDirectoryLock::is_locked() const {
  return file_->isLocked();
}

void WorkingDirectoryLock::unlock() {
  file_->unlock();
}

}  // namespace shop
