// The INI layer: reading any file gives a value within the length limit; a key
// written into any file reads back as written, and a key of another section keeps
// its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/private_profile.h"
#include "fuzz_check.h"

namespace {

using shop::Text;

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The first `c` that begins a character, by the walk over two-byte characters.
bool has_at_character(const Text& text, char c) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == c) {
      return true;
    }
    if (static_cast<unsigned char>(text[i]) >= 0x80) {
      ++i;
    }
  }
  return false;
}

bool no_line_break(const Text& text) {
  return text.find_first_of("\r\n") == Text::npos;
}

// Names that a file can hold: no line break, no blank or control at either end.
bool fits_a_line(const Text& text) {
  return no_line_break(text) && (text.empty() || (static_cast<unsigned char>(text.front()) > 32 &&
                                                  !is_blank(text.back())));
}

bool is_section_name(const Text& text) {
  return fits_a_line(text) && !has_at_character(text, ']');
}

bool is_key_name(const Text& text) {
  return fits_a_line(text) && text.find('=') == Text::npos &&
         (text.empty() || (text.front() != ';' && text.front() != '['));
}

// A value that reads back unchanged: no blanks to drop, no quotes to remove.
bool is_plain_value(const Text& text) {
  if (!no_line_break(text) || text.size() > shop::kProfileValueLimit) {
    return false;
  }
  if (text.empty()) {
    return true;
  }
  const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                      text.back() == text.front();
  return !is_blank(text.front()) && !is_blank(text.back()) && !quoted;
}

// Names compare without regard to ASCII letter case.
bool same_name(const Text& a, const Text& b) {
  return shop::profile_string_in("[" + a + "]\r\nk=1\r\n", b, "k", "0") == "1";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Text section = input.ConsumeRandomLengthString(16);
  const Text key = input.ConsumeRandomLengthString(16);
  const Text value = input.ConsumeRandomLengthString(32);
  const Text other_section = input.ConsumeRandomLengthString(16);
  const Text other_key = input.ConsumeRandomLengthString(16);
  const Text file = input.ConsumeRemainingBytesAsString();

  const Text before = shop::profile_string_in(file, other_section, other_key, "default");
  FUZZ_CHECK(before.size() <= shop::kProfileValueLimit);

  if (!is_section_name(section) || !is_key_name(key) || !is_plain_value(value)) {
    return 0;
  }
  const std::string written = shop::profile_with_string(file, section, key, value);
  FUZZ_CHECK(shop::profile_string_in(written, section, key, "default") == value);
  if (is_section_name(other_section) && is_key_name(other_key) &&
      !same_name(section, other_section)) {
    FUZZ_CHECK(shop::profile_string_in(written, other_section, other_key, "default") == before);
  }
  return 0;
}
