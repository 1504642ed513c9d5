#pragma once
// Files that are not what a tool expects to find under a name: for tests of how
// reads and saves treat a working directory that holds them.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace shop::testing {

enum class HostileFileKind {
  directory,
  fifo,              // with no writer
  dev_zero_link,     // a symlink to the endless /dev/zero
  symlink_to_file,   // a symlink to a regular file beside it
  dangling_symlink,  // a symlink to a file that does not exist
  symlink_loop,
  unreadable,  // mode 000 (readable all the same when the tests run as root)
  too_large,   // a sparse regular file of the given size
};

struct HostileFileCase {
  HostileFileKind kind;
  const char* name;
};

const std::vector<HostileFileCase>& hostile_file_cases();

// Makes `path` one of the special files; a symlink leads to "<name>.target" beside
// it (holding `content` for symlink_to_file), which link_target() names.
void make_hostile_file(const std::filesystem::path& path, HostileFileKind kind,
                       std::uintmax_t too_large_size, std::string_view content);
std::filesystem::path link_target(const std::filesystem::path& path);

// Whether the files beside `path` include a temporary file of a save.
bool has_save_leftovers(const std::filesystem::path& directory);

}  // namespace shop::testing
