#include "lists/file_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

namespace shop {
namespace {

namespace fs = std::filesystem;

// A symlink loop or a chain longer than the kernel would follow.
constexpr int kMaxSymlinkHops = 40;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and says whether the kernel took every write.
  bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

FileProblem problem_of_errno(int error) {
  return error == ENOENT || error == ENOTDIR ? FileProblem::missing : FileProblem::unreadable;
}

FileProblem problem_of_metadata(const struct stat& info, std::uintmax_t size_limit) {
  if (!S_ISREG(info.st_mode)) {
    return FileProblem::not_regular;
  }
  if (static_cast<std::uintmax_t>(info.st_size) > size_limit) {
    return FileProblem::too_large;
  }
  return FileProblem::none;
}

// Reads to the end of the file; too_large as soon as it holds more than the cap (a
// file may grow while it is read).
FileProblem read_to_end(int fd, std::uintmax_t size_limit, std::string& bytes) {
  char chunk[1 << 16];
  for (;;) {
    const ssize_t count = ::read(fd, chunk, sizeof chunk);
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      return FileProblem::unreadable;
    }
    if (count == 0) {
      return FileProblem::none;
    }
    if (bytes.size() + static_cast<size_t>(count) > size_limit) {
      return FileProblem::too_large;
    }
    bytes.append(chunk, static_cast<size_t>(count));
  }
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool write_and_flush(int fd, std::string_view bytes) {
  return ::ftruncate(fd, 0) == 0 && write_all(fd, bytes) && ::fsync(fd) == 0;
}

// The file a chain of symlinks leads to (the path itself when it is none); nothing
// for a loop or an unreadable link.
std::optional<fs::path> final_target(fs::path path) {
  for (int hop = 0; hop < kMaxSymlinkHops; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      return path;
    }
    std::error_code error;
    const fs::path link = fs::read_symlink(path, error);
    if (error) {
      return std::nullopt;
    }
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return std::nullopt;
}

void sync_directory(const fs::path& directory) {
  const FileDescriptor fd(
      ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) {
    ::fsync(fd.get());
  }
}

bool same_file(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens the save's temporary file, creating it or taking over what a killed save
// left, and holds an exclusive lock on it until it is closed: a second save of the
// same file waits, then finds the name gone (renamed into place) and starts anew.
int open_locked_temporary(const fs::path& temporary) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd =
        ::open(temporary.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
      return -1;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      ::close(fd);
      errno = EEXIST;
      return -1;
    }
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat named {};
    if (::lstat(temporary.c_str(), &named) == 0 && same_file(named, opened)) {
      return fd;
    }
    ::close(fd);
  }
  errno = EBUSY;
  return -1;
}

bool overwrite_in_place(const fs::path& path, std::string_view bytes) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return false;
  }
  const bool written = write_and_flush(fd.get(), bytes);
  return fd.close() && written;
}

bool replace_regular_file(const fs::path& target, std::string_view bytes) {
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) {
    return false;
  }
  if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & S_IWUSR) == 0)) {
    return false;
  }
  const fs::path temporary = save_temporary_path(target);
  FileDescriptor fd(open_locked_temporary(temporary));
  if (!fd.valid()) {
    const bool folder_not_writable = errno == EACCES || errno == EPERM;
    return exists && folder_not_writable && overwrite_in_place(target, bytes);
  }
  const mode_t mode = exists ? (existing.st_mode & 07777) : 0644;
  bool replaced = false;
  // The content is on disk before the name points at it, and the name is on disk
  // before the save counts as done.
  if (::fchmod(fd.get(), mode) == 0 && write_and_flush(fd.get(), bytes)) {
    replaced = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (replaced) {
      sync_directory(target.parent_path());
    }
  }
  if (!replaced) {
    ::unlink(temporary.c_str());
  }
  return replaced;  // the lock goes with the descriptor, after the rename
}

}  // namespace

std::filesystem::path working_directory_file(std::string_view name) {
  std::error_code error;
  const fs::path directory = fs::current_path(error);
  return fs::path(directory.native() + std::string(name));
}

FileProblem regular_file_problem(const std::filesystem::path& path, std::uintmax_t size_limit) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return problem_of_errno(errno);
  }
  const FileProblem problem = problem_of_metadata(info, size_limit);
  if (problem == FileProblem::none && ::access(path.c_str(), R_OK) != 0) {
    return FileProblem::unreadable;
  }
  return problem;
}

FileBytes read_regular_file(const std::filesystem::path& path, std::uintmax_t size_limit) {
  FileBytes result;
  // Checked before opening: opening a FIFO waits for a writer, and opening a device
  // can act on it.
  result.problem = regular_file_problem(path, size_limit);
  if (result.problem != FileProblem::none) {
    return result;
  }
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0) {
    result.problem = problem_of_errno(errno);
    return result;
  }
  result.problem = problem_of_metadata(info, size_limit);  // swapped since the check
  try {
    if (result.problem == FileProblem::none) {
      result.bytes.reserve(static_cast<size_t>(info.st_size));
      result.problem = read_to_end(fd.get(), size_limit, result.bytes);
    }
  } catch (const std::bad_alloc&) {
    result.problem = FileProblem::unreadable;
  }
  if (result.problem != FileProblem::none) {
    result.bytes = std::string();
  }
  return result;
}

std::string read_file_bytes(const std::filesystem::path& path, std::uintmax_t size_limit) {
  return read_regular_file(path, size_limit).bytes;
}

std::filesystem::path save_temporary_path(const std::filesystem::path& target) {
  return target.parent_path() / ("." + target.filename().native() + ".saving");
}

bool replace_file_contents(const std::filesystem::path& path, std::string_view bytes) {
  try {
    const std::optional<fs::path> target = final_target(path);
    return target && replace_regular_file(*target, bytes);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace shop
