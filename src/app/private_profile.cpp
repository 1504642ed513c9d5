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

std::vector<Line> split_lines(std::string_view file) {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < file.size()) {
    const size_t newline = file.find('\n', begin);
    const size_t end = newline == std::string_view::npos ? file.size() : newline + 1;
    std::string_view content =
        file.substr(begin, (newline == std::string_view::npos ? end : newline) - begin);
    if (!content.empty() && content.back() == '\r') {
      content.remove_suffix(1);
    }
    lines.push_back({begin, end, content});
    begin = end;
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
  const size_t close = find_character(line, ']');
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

Text limited(std::string_view value) {
  return Text(value.substr(0, kProfileValueLimit));
}

}  // namespace

Text read_profile_string(const std::filesystem::path& file, const Text& section, const Text& key,
                         const Text& default_value) {
  std::string_view fallback = default_value;
  while (!fallback.empty() && fallback.back() == ' ') {
    fallback.remove_suffix(1);
  }
  const std::string bytes = read_file_bytes(clean_path(file));
  const std::vector<Line> lines = split_lines(bytes);
  const auto span = find_section(lines, drop_leading_controls(section));
  if (!span) {
    return limited(fallback);
  }
  const auto found = find_key(lines, *span, drop_leading_controls(key));
  if (!found) {
    return limited(fallback);
  }
  return limited(unquote(key_line(lines[*found].content)->value));
}

void write_profile_string(const std::filesystem::path& file, const Text& section, const Text& key,
                          const Text& value) {
  const std::filesystem::path path = clean_path(file);
  const std::string_view section_text = drop_leading_controls(section);
  const std::string_view key_text = drop_leading_controls(key);
  const std::string bytes = read_file_bytes(path);
  const std::vector<Line> lines = split_lines(bytes);
  const std::string entry = std::string(key_text) + "=" + value + "\r\n";

  std::string updated;
  const auto span = find_section(lines, section_text);
  if (!span) {
    updated = bytes;
    if (!updated.empty() && updated.back() != '\n') {
      updated += "\r\n";
    }
    updated += "[" + std::string(section_text) + "]\r\n" + entry;
  } else if (const auto found = find_key(lines, *span, key_text)) {
    updated = bytes.substr(0, lines[*found].begin) + entry + bytes.substr(lines[*found].end);
  } else {
    const Line& last = lines[span->last_content];
    std::string before = bytes.substr(0, last.end);
    if (before.back() != '\n') {
      before += "\r\n";
    }
    updated = before + entry + bytes.substr(last.end);
  }
  replace_file_contents(path, updated);
}

}  // namespace shop
