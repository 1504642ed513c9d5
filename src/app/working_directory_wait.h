#pragma once
// The window's side of the one-writer rule: it holds the working directory's lock
// for as long as it is open. When a command-line run holds the lock as the window
// starts, the window waits for the run to end before it opens, so that it loads the
// lists the run wrote and nothing either of them writes is lost.

#include "cli/working_directory_lock.h"

namespace shop {

// Takes the lock. While another process holds it, shows a note with a quit button
// and takes the lock the moment that process lets it go. Returns false when the
// user quits first. Call with a QApplication.
bool wait_for_working_directory(WorkingDirectoryLock& lock);

// The object name of the note, for tests.
inline constexpr const char* kDirectoryWaitName = "等待工作目录";

}  // namespace shop
