#pragma once
// Whole-file reads and atomic whole-file replacement for the files the tool keeps
// in its working directory.

#include <filesystem>
#include <string>
#include <string_view>

namespace shop {

// The current working directory followed directly by `name`, which begins with "/".
std::filesystem::path working_directory_file(std::string_view name);

// All bytes of the file; empty when it is missing or unreadable.
std::string read_file_bytes(const std::filesystem::path& path);

// Replaces the file's content with `bytes` so that a crash, a full disk or a failed
// write leaves either the old or the new content, never a mix. A file without write
// permission for its owner is left alone. Where no temporary file can be made beside
// it (a folder that is not writable), a writable file is overwritten in place.
// Returns whether the new content was written.
bool replace_file_contents(const std::filesystem::path& path, std::string_view bytes);

}  // namespace shop
