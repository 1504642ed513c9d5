#include "web/text.h"

#include <algorithm>
#include <string_view>

namespace shop {
namespace {

// Whether byte offset `at` begins a character when characters are walked from
// offset `from`. Every byte below 0x80 (a one-byte character or the second byte
// of a pair) is followed by a character start, so only the run of bytes >= 0x80
// directly in front of `at` needs looking at: they pair up from its beginning.
bool begins_character(std::string_view text, size_t from, size_t at) {
  size_t run_start = at;
  while (run_start > from && static_cast<unsigned char>(text[run_start - 1]) >= 0x80) {
    --run_start;
  }
  return (at - run_start) % 2 == 0;
}

// First occurrence of `part` at a character start at or after offset `from`,
// walking characters from `from`; npos if none.
size_t find_from(std::string_view text, std::string_view part, size_t from) {
  size_t candidate = from;
  while ((candidate = text.find(part, candidate)) != std::string_view::npos) {
    if (begins_character(text, from, candidate)) {
      return candidate;
    }
    ++candidate;
  }
  return std::string_view::npos;
}

}  // namespace

int find_text(const Text& text, const Text& part, int start) {
  const size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
  if (from >= text.size()) {
    return -1;
  }
  if (part.empty()) {
    return 1;
  }
  const size_t found = find_from(text, part, from);
  return found == std::string_view::npos ? -1 : static_cast<int>(found) + 1;
}

int find_text_reverse(const Text& text, const Text& part) {
  if (text.empty()) {
    return -1;
  }
  if (part.empty()) {
    return 1;
  }
  const std::string_view view(text);
  size_t candidate = view.rfind(part);
  while (candidate != std::string_view::npos) {
    if (begins_character(view, 0, candidate)) {
      return static_cast<int>(candidate) + 1;
    }
    if (candidate == 0) {
      break;
    }
    candidate = view.rfind(part, candidate - 1);
  }
  return -1;
}

Text text_left(const Text& text, int count) {
  if (count <= 0) {
    return {};
  }
  return text.substr(0, std::min(text.size(), static_cast<size_t>(count)));
}

Text text_right(const Text& text, int count) {
  if (count <= 0) {
    return {};
  }
  const size_t n = std::min(text.size(), static_cast<size_t>(count));
  return text.substr(text.size() - n);
}

Text text_mid(const Text& text, int position, int count) {
  if (position < 1 || static_cast<size_t>(position) > text.size() || count <= 0) {
    return {};
  }
  return text.substr(static_cast<size_t>(position) - 1, static_cast<size_t>(count));
}

Text url_encode(const Text& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text out;
  out.reserve(text.size() * 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool kept = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                      (byte >= 'a' && byte <= 'z') || byte == '*' || byte == ',' || byte == '-' ||
                      byte == '.' || byte == '@' || byte == '_';
    if (kept) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
    }
  }
  return out;
}

Text text_between(const Text& text, const Text& start, const Text& end, int mode) {
  const int length = static_cast<int>(start.size());
  const int a = find_text(text, start);
  if (a == -1) {
    return {};
  }
  if (mode == 1) {
    const int after = a + length;
    const int b = find_text(text, end, after);
    return b == -1 ? Text{} : text_mid(text, after, b - after);
  }
  const int b = find_text_reverse(text, end);
  return b == -1 ? Text{} : text_mid(text, a + length, b - a - length);
}

Text text_before(const Text& text, const Text& marker) {
  if (find_text(text, marker) == -1) {
    return {};
  }
  return text_left(text, find_text_reverse(text, marker) - 1);
}

std::vector<Text> split_text(const Text& text, const Text& separator) {
  std::vector<Text> pieces;
  if (separator.empty()) {
    if (!text.empty()) {
      pieces.push_back(text);
    }
    return pieces;
  }
  const std::string_view view(text);
  size_t from = 0;
  while (from < view.size()) {
    const size_t found = find_from(view, separator, from);
    if (found == std::string_view::npos) {
      pieces.emplace_back(view.substr(from));
      break;
    }
    pieces.emplace_back(view.substr(from, found - from));
    from = found + separator.size();
  }
  return pieces;
}

Text replace_text(const Text& text, const Text& placeholder, const Text& value) {
  if (placeholder.empty()) {
    return text;
  }
  const std::string_view view(text);
  Text out;
  size_t from = 0;
  while (from < view.size()) {
    const size_t found = find_from(view, placeholder, from);
    if (found == std::string_view::npos) {
      break;
    }
    out.append(view.substr(from, found - from));
    out.append(value);
    from = found + placeholder.size();
  }
  if (from < view.size()) {
    out.append(view.substr(from));
  }
  return out;
}

}  // namespace shop
