#pragma once
// One writer per working directory: the window and command-line runs exclude each
// other with a lock file that lives outside the directory, so that a first start in
// an empty directory still creates nothing there. The lock file is named after the
// directory's canonical path and kept in the user's runtime directory.

#include <QDir>
#include <QLockFile>
#include <QString>
#include <memory>

namespace shop {

class WorkingDirectoryLock {
 public:
  // The lock of the directory (by default the current working directory), not taken yet.
  explicit WorkingDirectoryLock(const QString& directory = QDir::currentPath());
  ~WorkingDirectoryLock();
  WorkingDirectoryLock(const WorkingDirectoryLock&) = delete;
  WorkingDirectoryLock& operator=(const WorkingDirectoryLock&) = delete;

  // Takes the lock unless another process (or another lock object) holds it. A lock
  // left behind by a process that has ended is taken over.
  bool try_lock();
  bool is_locked() const;
  void unlock();

  const QString& file_path() const { return path_; }

  // Where lock files live: $XDG_RUNTIME_DIR, else /run/user/<uid> when it exists
  // (a window and a run started by cron then meet in the same place), else a folder
  // of the user's own under the temporary directory.
  static QString lock_directory();

 private:
  QString path_;
  std::unique_ptr<QLockFile> file_;
};

}  // namespace shop
