#include "lists/list_file.h"

#include <limits>
#include <string_view>

namespace shop {
namespace {

// The first fields of a line, each cut at "≤≌≥".
TrackedItem parse_row(std::string_view line) {
  TrackedItem row;
  const std::string_view separator = kColumnSeparator;
  size_t from = 0;
  for (Text& cell : row) {
    if (from >= line.size()) {
      break;
    }
    const size_t end = find_at_character(line, separator, from);
    cell = line.substr(from, end == std::string_view::npos ? line.npos : end - from);
    if (end == std::string_view::npos) {
      break;
    }
    from = end + separator.size();
  }
  return row;
}

}  // namespace

std::optional<std::vector<TrackedItem>> parse_list_text(const Text& file_bytes, size_t max_rows) {
  std::string_view text(file_bytes);
  text = text.substr(0, text.find('\0'));
  if (ends_inside_character(text)) {
    text.remove_suffix(1);
  }
  std::vector<TrackedItem> rows;
  size_t from = 0;
  while (from < text.size()) {
    if (rows.size() == max_rows) {
      return std::nullopt;
    }
    const size_t end = find_at_character(text, kLineSeparator, from);
    if (end == std::string_view::npos) {
      rows.push_back(parse_row(text.substr(from)));
      break;
    }
    rows.push_back(parse_row(text.substr(from, end - from)));
    from = end + kLineSeparator.size();
  }
  return rows;
}

std::vector<TrackedItem> parse_list_text(const Text& file_bytes) {
  return *parse_list_text(file_bytes, std::numeric_limits<size_t>::max());
}

Text format_list_text(const std::vector<TrackedItem>& rows) {
  Text text;
  for (const TrackedItem& row : rows) {
    for (const Text& cell : row) {
      text += cell;
      text += kColumnSeparator;
    }
    text += kLineSeparator;
  }
  return text;
}

ListFileRead read_list_file(const std::filesystem::path& path) {
  ListFileRead result;
  try {
    FileBytes file = read_regular_file(path, kListFileSizeLimit);
    result.file_problem = file.problem;
    if (auto rows = parse_list_text(file.bytes, kListRowLimit)) {
      result.rows = std::move(*rows);
    } else {
      result.too_many_rows = true;
    }
  } catch (const std::bad_alloc&) {
    result.file_problem = FileProblem::unreadable;
    result.rows.clear();
  }
  return result;
}

}  // namespace shop
