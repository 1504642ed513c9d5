#include "app/private_profile.h"

#include <optional>
#include <string_view>
#include <vector>

#include "lists/file_store.h"

namespace shop {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (is_blank(text.back()) || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

// Leading spaces and control characters of names and paths are dropped before use.
std::string_view drop_leading_controls(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) {
    text.remove_prefix(1);
  }
  return text;
}

std::filesystem::path clean_path(const std::filesystem::path& file) {
  return std::filesystem::path(std::string(drop_leading_controls(file.native())));
}

char fold_ascii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Folds only one-byte characters, so the second byte of a GBK pair is never folded.
bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (static_cast<unsigned char>(a[i]) >= 0x80) {
      if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) {
        return false;
      }
      ++i;
    } else if (fold_ascii(a[i]) != fold_ascii(b[i])) {
      return false;
    }
  }
  return true;
}

struct Line {
  size_t begin;              // byte offset of the line in the file
  size_t end;                // offset just behind its line break
  std::string_view content;  // without the line break
};

// The line that begins at `begin`; false at the end of the file.
bool line_at(std::string_view file, size_t begin, Line& line) {
  if (begin >= file.size()) {
    return false;
  }
  const size_t newline = file.find('\n', begin);
  const size_t end = newline == std::string_view::npos ? file.size() : newline + 1;
  std::string_view content =
      file.substr(begin, (newline == std::string_view::npos ? end : newline) - begin);
  if (!content.empty() && content.back() == '\r') {
    content.remove_suffix(1);
  }
  line = {begin, end, content};
  return true;
}

std::vector<Line> split_lines(std::string_view file) {
  std::vector<Line> lines;
  Line line{};
  for (size_t begin = 0; line_at(file, begin, line); begin = line.end) {
    lines.push_back(line);
  }
  return lines;
}

// The first `c` that begins a character: the trail byte of a two-byte GBK character
// can equal "]" and must not close a section name.
size_t find_character(std::string_view text, char c) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == c) {
      return i;
    }
    if (static_cast<unsigned char>(text[i]) >= 0x80) {
      ++i;
    }
  }
  return std::string_view::npos;
}

std::optional<std::string_view> section_name(std::string_view line) {
  line = trim_blanks(line);
  if (line.empty() || line.front() != '[') {
    return std::nullopt;
  }
  size_t close = find_character(line, ']');
  if (close == std::string_view::npos && line.back() == ']') {
    // A name that ends inside a two-byte character, as the writer wrote it: the "]"
    // behind it is the second byte the walk stepped over.
    close = line.size() - 1;
  }
  return trim_blanks(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
}

struct KeyLine {
  std::string_view name;
  std::string_view value;
};

std::optional<KeyLine> key_line(std::string_view line) {
  const std::string_view trimmed = trim_blanks(line);
  if (trimmed.empty() || trimmed.front() == ';') {
    return std::nullopt;
  }
  const size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) {
    return std::nullopt;
  }
  return KeyLine{trim_blanks(trimmed.substr(0, equals)), trimmed.substr(equals + 1)};
}

// Where a section's lines lie: from its header to its last line with content.
struct SectionSpan {
  size_t header;
  size_t last_content;  // index of the last non-blank line of the section
  size_t after;         // index of the first line behind the section
};

std::optional<SectionSpan> find_section(const std::vector<Line>& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = section_name(lines[i].content);
    if (!name || !same_name(*name, section)) {
      continue;
    }
    SectionSpan span{i, i, lines.size()};
    for (size_t j = i + 1; j < lines.size(); ++j) {
      if (section_name(lines[j].content)) {
        span.after = j;
        break;
      }
      if (!trim_blanks(lines[j].content).empty()) {
        span.last_content = j;
      }
    }
    return span;
  }
  return std::nullopt;
}

std::optional<size_t> find_key(const std::vector<Line>& lines, const SectionSpan& span,
                               std::string_view key) {
  for (size_t j = span.header + 1; j < span.after; ++j) {
    const auto entry = key_line(lines[j].content);
    if (entry && same_name(entry->name, key)) {
      return j;
    }
  }
  return std::nullopt;
}

std::string_view unquote(std::string_view value) {
  value = trim_blanks(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// The value of the key in the first section of that name, found line by line.
std::optional<std::string_view> find_value(std::string_view file, std::string_view section,
                                           std::string_view key) {
  bool in_section = false;
  Line line{};
  for (size_t begin = 0; line_at(file, begin, line); begin = line.end) {
    if (const auto name = section_name(line.content)) {
      if (in_section) {
        return std::nullopt;  // only the first section of a name is searched
      }
      in_section = same_name(*name, section);
    } else if (in_section) {
      const auto entry = key_line(line.content);
      if (entry && same_name(entry->name, key)) {
        return entry->value;
      }
    }
  }
  return std::nullopt;
}

Text limited(std::string_view value) {
  return Text(value.substr(0, kProfileValueLimit));
}

}  // namespace

Text profile_string_in(std::string_view file_bytes, const Text& section, const Text& key,
                       const Text& default_value) {
  std::string_view fallback = default_value;
  while (!fallback.empty() && fallback.back() == ' ') {
    fallback.remove_suffix(1);
  }
  const auto value =
      find_value(file_bytes, drop_leading_controls(section), drop_leading_controls(key));
  return limited(value ? unquote(*value) : fallback);
}

std::string profile_with_string(std::string_view bytes, const Text& section, const Text& key,
                                const Text& value) {
  const std::string_view section_text = drop_leading_controls(section);
  const std::string_view key_text = drop_leading_controls(key);
  const std::vector<Line> lines = split_lines(bytes);
  const std::string entry = std::string(key_text) + "=" + value + "\r\n";

  const auto span = find_section(lines, section_text);
  if (!span) {
    std::string updated(bytes);
    if (!updated.empty() && updated.back() != '\n') {
      updated += "\r\n";
    }
    return updated + "[" + std::string(section_text) + "]\r\n" + entry;
  }
  if (const auto found = find_key(lines, *span, key_text)) {
    return std::string(bytes.substr(0, lines[*found].begin)) + entry +
           std::string(bytes.substr(lines[*found].end));
  }
  const Line& last = lines[span->last_content];
  std::string before(bytes.substr(0, last.end));
  if (before.back() != '\n') {
    before += "\r\n";
  }
  return before + entry + std::string(bytes.substr(last.end));
}

Text read_profile_string(const std::filesystem::path& file, const Text& section, const Text& key,
                         const Text& default_value) {
  try {
    const FileBytes bytes = read_regular_file(clean_path(file), kProfileFileSizeLimit);
    return profile_string_in(bytes.bytes, section, key, default_value);
  } catch (const std::exception&) {
    return profile_string_in({}, section, key, default_value);
  }
}

FileProblem profile_file_problem(const std::filesystem::path& file) {
  return regular_file_problem(clean_path(file), kProfileFileSizeLimit);
}

void write_profile_string(const std::filesystem::path& file, const Text& section, const Text& key,
                          const Text& value) {
  try {
    const std::filesystem::path path = clean_path(file);
    const FileBytes bytes = read_regular_file(path, kProfileFileSizeLimit);
    // A file that could not be read whole is never replaced.
    if (bytes.problem == FileProblem::none || bytes.problem == FileProblem::missing) {
      replace_file_contents(path, profile_with_string(bytes.bytes, section, key, value));
    }
  } catch (const std::exception&) {
    // The file keeps what it held.
  }
}

}  // namespace shop
