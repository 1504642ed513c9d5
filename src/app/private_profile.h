#pragma once
// Keys of an INI file read and written by the Windows private-profile rules, in GBK:
// section and key names compare without regard to ASCII letter case, ";" starts a
// comment line, the first matching section and key win, values read back lose the
// blanks around them and one pair of outer quotes and are cut to 10239 bytes, values
// are written verbatim, lines end with CR LF.

#include <filesystem>

#include "web/text.h"

namespace shop {

inline constexpr size_t kProfileValueLimit = 10239;

Text read_profile_string(const std::filesystem::path& file, const Text& section, const Text& key,
                         const Text& default_value);
// Replaces the key's value in place or adds the key at the end of its section; a
// missing section is appended and a missing file created. The file is replaced
// atomically; a failure is not reported.
void write_profile_string(const std::filesystem::path& file, const Text& section, const Text& key,
                          const Text& value);

}  // namespace shop
