#include "support/core/hostile_file_kinds.h"

#include <sys/stat.h>

#include <stdexcept>

#include "support/core/temp_dir.h"

namespace shop::testing {

namespace fs = std::filesystem;

const std::vector<HostileFileCase>& hostile_file_cases() {
  static const std::vector<HostileFileCase> cases = {
      {HostileFileKind::directory, "Directory"},
      {HostileFileKind::fifo, "Fifo"},
      {HostileFileKind::dev_zero_link, "DevZeroLink"},
      {HostileFileKind::symlink_to_file, "SymlinkToFile"},
      {HostileFileKind::dangling_symlink, "DanglingSymlink"},
      {HostileFileKind::symlink_loop, "SymlinkLoop"},
      {HostileFileKind::unreadable, "Unreadable"},
      {HostileFileKind::too_large, "TooLarge"},
  };
  return cases;
}

fs::path link_target(const fs::path& path) {
  return fs::path(path.native() + ".target");
}

void make_hostile_file(const fs::path& path, HostileFileKind kind, std::uintmax_t too_large_size,
                       std::string_view content) {
  switch (kind) {
    case HostileFileKind::directory:
      fs::create_directory(path);
      break;
    case HostileFileKind::fifo:
      if (::mkfifo(path.c_str(), 0644) != 0) {
        throw std::runtime_error("mkfifo failed");
      }
      break;
    case HostileFileKind::dev_zero_link:
      fs::create_symlink("/dev/zero", path);
      break;
    case HostileFileKind::symlink_to_file:
      write_file(link_target(path), content);
      fs::create_symlink(link_target(path).filename(), path);
      break;
    case HostileFileKind::dangling_symlink:
      fs::create_symlink(link_target(path).filename(), path);
      break;
    case HostileFileKind::symlink_loop:
      fs::create_symlink(path.filename(), path);
      break;
    case HostileFileKind::unreadable:
      write_file(path, content);
      fs::permissions(path, fs::perms::none);
      break;
    case HostileFileKind::too_large:
      write_file(path, content);
      fs::resize_file(path, too_large_size);
      break;
  }
}

bool has_save_leftovers(const fs::path& directory) {
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (entry.path().extension() == ".saving") {
      return true;
    }
  }
  return false;
}

}  // namespace shop::testing
