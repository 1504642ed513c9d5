#include "lists/file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>

namespace shop {
namespace {

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

bool overwrite_in_place(const std::filesystem::path& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  const bool written = write_all(fd, bytes);
  return ::close(fd) == 0 && written;
}

}  // namespace

std::filesystem::path working_directory_file(std::string_view name) {
  std::error_code error;
  const std::filesystem::path directory = std::filesystem::current_path(error);
  return std::filesystem::path(directory.native() + std::string(name));
}

std::string read_file_bytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return {};
  }
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool replace_file_contents(const std::filesystem::path& path, std::string_view bytes) {
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && (existing.st_mode & S_IWUSR) == 0) {
    return false;
  }
  std::string temporary = path.native() + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    return exists && overwrite_in_place(path, bytes);
  }
  const mode_t mode = exists ? (existing.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && write_all(fd, bytes);
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) {
    return true;
  }
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace shop
