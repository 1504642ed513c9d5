#pragma once
// Whole-file reads and atomic whole-file replacement for the files the tool keeps
// in its working directory.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace shop {

// The current working directory followed directly by `name`, which begins with "/".
std::filesystem::path working_directory_file(std::string_view name);

// Why a file gave no bytes. A symlink counts as the file it leads to.
enum class FileProblem {
  none,
  missing,      // no such file (a dangling symlink included)
  not_regular,  // a directory, a FIFO, a device or a socket: never opened for reading
  too_large,    // beyond the size cap of the read
  unreadable,   // no permission, a symlink loop, a read error
};

struct FileBytes {
  FileProblem problem = FileProblem::none;
  std::string bytes;  // empty unless problem is none
};

inline constexpr std::uintmax_t kMebibyte = std::uintmax_t{1} << 20;
// The cap of a read that names none: no file of the tool comes near it.
inline constexpr std::uintmax_t kDefaultReadLimit = 64 * kMebibyte;

// All bytes of a regular file of at most `size_limit` bytes. Nothing blocks: a FIFO
// or a device is refused before it is opened.
FileBytes read_regular_file(const std::filesystem::path& path,
                            std::uintmax_t size_limit = kDefaultReadLimit);
// The bytes of read_regular_file, empty whatever the problem.
std::string read_file_bytes(const std::filesystem::path& path,
                            std::uintmax_t size_limit = kDefaultReadLimit);
// What read_regular_file would report, from the file's metadata alone.
FileProblem regular_file_problem(const std::filesystem::path& path, std::uintmax_t size_limit);

// Replaces the file's content with `bytes` so that a crash, a power loss, a full disk
// or a failed write leaves either the old or the new content, never a mix: the new
// content is written and flushed to a temporary file beside the file, which is then
// renamed over it, and the folder is flushed. A symlink stays a link: the
// file it leads to is replaced. Only a regular file (or none) is replaced; a file
// without write permission for its owner is left alone. Where no temporary file can
// be made (a folder that is not writable), a writable file is overwritten in place.
// A save killed part-way leaves its temporary file, which the next save of the same
// file takes over. Returns whether the new content was written; throws nothing.
bool replace_file_contents(const std::filesystem::path& path, std::string_view bytes);

// The name of the temporary file a save of `path` writes first (beside the file the
// symlinks lead to), for tests and the tidy-up after a killed save.
std::filesystem::path save_temporary_path(const std::filesystem::path& target);

}  // namespace shop
