#include "support/core/special_files.h"

#include <sys/stat.h>

#include <stdexcept>

#include "support/core/temp_dir.h"

namespace shop::testing {

namespace fs = std::filesystem;

const std::vector<SpecialFileCase>& special_file_cases() {
  static const std::vector<SpecialFileCase> cases = {
      {SpecialFile::directory, "Directory"},
      {SpecialFile::fifo, "Fifo"},
      {SpecialFile::dev_zero_link, "DevZeroLink"},
      {SpecialFile::symlink_to_file, "SymlinkToFile"},
      {SpecialFile::dangling_symlink, "DanglingSymlink"},
      {SpecialFile::symlink_loop, "SymlinkLoop"},
      {SpecialFile::unreadable, "Unreadable"},
      {SpecialFile::too_large, "TooLarge"},
  };
  return cases;
}

fs::path link_target(const fs::path& path) {
  return fs::path(path.native() + ".target");
}

void make_special_file(const fs::path& path, SpecialFile kind, std::uintmax_t too_large_size,
                       std::string_view content) {
  switch (kind) {
    case SpecialFile::directory:
      fs::create_directory(path);
      break;
    case SpecialFile::fifo:
      if (::mkfifo(path.c_str(), 0644) != 0) {
        throw std::runtime_error("mkfifo failed");
      }
      break;
    case SpecialFile::dev_zero_link:
      fs::create_symlink("/dev/zero", path);
      break;
    case SpecialFile::symlink_to_file:
      write_file(link_target(path), content);
      fs::create_symlink(link_target(path).filename(), path);
      break;
    case SpecialFile::dangling_symlink:
      fs::create_symlink(link_target(path).filename(), path);
      break;
    case SpecialFile::symlink_loop:
      fs::create_symlink(path.filename(), path);
      break;
    case SpecialFile::unreadable:
      write_file(path, content);
      fs::permissions(path, fs::perms::none);
      break;
    case SpecialFile::too_large:
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
