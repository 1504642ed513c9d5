#include "lists/list_file.h"

namespace shop {

std::vector<TrackedItem> parse_list_text(const Text& file_bytes) {
  const Text text = file_bytes.substr(0, file_bytes.find('\0'));
  std::vector<TrackedItem> rows;
  for (const Text& line : split_text(text, kLineSeparator)) {
    std::vector<Text> fields = split_text(line, kColumnSeparator);
    TrackedItem& row = rows.emplace_back();
    for (size_t column = 0; column < row.size() && column < fields.size(); ++column) {
      row[column] = std::move(fields[column]);
    }
  }
  return rows;
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

}  // namespace shop
