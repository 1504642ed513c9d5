#pragma once
// Keys of an INI file read and written by the Windows private-profile rules, in GBK:
// section and key names compare without regard to ASCII letter case, ";" starts a
// comment line, the first matching section and key win, values read back lose the
// blanks around them and one pair of outer quotes and are cut to 10239 bytes, values
// are written verbatim, lines end with CR LF. A section name closes at the first "]"
// that begins a character, or else at a "]" that ends the line, so that a name
// ending inside a two-byte character reads back as it was written.

#include <filesystem>
#include <string_view>

#include "lists/file_store.h"
#include "web/text.h"

namespace shop {

inline constexpr size_t kProfileValueLimit = 10239;
// An INI file beyond this size is not read: every key takes its default, and no key
// is written to it.
inline constexpr std::uintmax_t kProfileFileSizeLimit = 1 * kMebibyte;

Text read_profile_string(const std::filesystem::path& file, const Text& section, const Text& key,
                         const Text& default_value);
// Replaces the key's value in place or adds the key at the end of its section; a
// missing section is appended and a missing file created. The file is replaced
// atomically; a failure is not reported. A file that is not a regular one, or
// beyond the cap, is left alone.
void write_profile_string(const std::filesystem::path& file, const Text& section, const Text& key,
                          const Text& value);

// The same rules on the bytes of a file: the value read, and the file's bytes after
// the write.
Text profile_string_in(std::string_view file_bytes, const Text& section, const Text& key,
                       const Text& default_value);
std::string profile_with_string(std::string_view file_bytes, const Text& section, const Text& key,
                                const Text& value);

// Why the file gives only defaults: none when it can be read (or is missing).
FileProblem profile_file_problem(const std::filesystem::path& file);

}  // namespace shop
