#include "web/text.h"

#include <string.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace shop {
namespace {

bool is_lead(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

// Answers "does offset `at` begin a character when characters are walked from
// offset `from`?". Every byte below 0x80 (a one-byte character or the second
// byte of a pair) is followed by a character start, so only the run of bytes
// >= 0x80 directly in front of `at` matters: its bytes pair up from the run's
// beginning. The last run found is remembered, so a search whose candidates all
// sit in one long run of such bytes still looks at each byte only once, whether
// the candidates come in rising or in falling order.
class CharacterStarts {
 public:
  CharacterStarts(std::string_view text, size_t from) : text_(text), from_(from) {}

  bool begins_character(size_t at) {
    if (!remembers(at)) {
      size_t run_start = at;
      while (run_start > from_ && is_lead(text_[run_start - 1])) {
        --run_start;
        if (remembers(run_start)) {
          run_start = run_lo_;  // the bytes in front continue the remembered run
          break;
        }
      }
      // Now run_start begins a character and [run_start, at) holds only bytes >= 0x80.
      run_lo_ = run_start;
      run_hi_ = at;
    }
    return (at - run_lo_) % 2 == 0;
  }

 private:
  bool remembers(size_t at) const { return at >= run_lo_ && at <= run_hi_; }

  std::string_view text_;
  size_t from_;
  // The remembered run: run_lo_ begins a character and [run_lo_, run_hi_) holds
  // only bytes >= 0x80. Empty (lo > hi) until the first query.
  size_t run_lo_ = 1;
  size_t run_hi_ = 0;
};

size_t byte_search(std::string_view text, std::string_view part, size_t from) {
  const void* hit = memmem(text.data() + from, text.size() - from, part.data(), part.size());
  return hit == nullptr ? std::string_view::npos
                        : static_cast<size_t>(static_cast<const char*>(hit) - text.data());
}

// First occurrence of a non-empty `part` at a character start at or after
// offset `from`, walking characters from `from`; npos if none.
size_t find_from(std::string_view text, std::string_view part, size_t from) {
  CharacterStarts starts(text, from);
  size_t candidate = from;
  while (candidate < text.size() &&
         (candidate = byte_search(text, part, candidate)) != std::string_view::npos) {
    if (starts.begins_character(candidate)) {
      return candidate;
    }
    ++candidate;
  }
  return std::string_view::npos;
}

// Last occurrence of a non-empty `part` at a character start, walking from the
// beginning of `text`; npos if none. Searches windows of growing size from the
// end with the fast forward byte search, so a part near the end is found
// quickly and a part near the start costs about one forward pass.
size_t find_last(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) {
    return std::string_view::npos;
  }
  CharacterStarts starts(text, 0);
  std::vector<size_t> hits;
  size_t window_end = text.size();  // candidates in this window begin before window_end
  size_t window = 256;
  while (window_end > 0) {
    const size_t window_start = window_end > window ? window_end - window : 0;
    const size_t limit = std::min(text.size(), window_end + part.size() - 1);
    const std::string_view slice = text.substr(0, limit);
    hits.clear();
    for (size_t at = window_start; at < window_end;) {
      at = byte_search(slice, part, at);
      if (at == std::string_view::npos || at >= window_end) {
        break;
      }
      hits.push_back(at);
      ++at;
    }
    for (auto hit = hits.rbegin(); hit != hits.rend(); ++hit) {
      if (starts.begins_character(*hit)) {
        return *hit;
      }
    }
    window_end = window_start;
    window = std::min<size_t>(window * 4, size_t{1} << 16);
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
  const size_t found = find_last(text, part);
  return found == std::string_view::npos ? -1 : static_cast<int>(found) + 1;
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
  static constexpr auto kKept = [] {
    std::array<bool, 256> kept{};
    for (int byte = 0; byte < 256; ++byte) {
      kept[byte] = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                   (byte >= 'a' && byte <= 'z') || byte == '*' || byte == ',' || byte == '-' ||
                   byte == '.' || byte == '@' || byte == '_';
    }
    return kept;
  }();
  Text out(text.size() * 3, '\0');
  char* next = out.data();
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (kKept[byte]) {
      *next++ = c;
    } else {
      *next++ = '%';
      *next++ = kHex[byte >> 4];
      *next++ = kHex[byte & 0x0F];
    }
  }
  out.resize(static_cast<size_t>(next - out.data()));
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

size_t find_at_character(std::string_view text, std::string_view part, size_t from) {
  return from >= text.size() ? std::string_view::npos : find_from(text, part, from);
}

bool ends_inside_character(std::string_view text) {
  // Bytes below 0x80 are always followed by a character start, so the run of bytes
  // >= 0x80 at the end pairs up from its beginning.
  size_t run = 0;
  while (run < text.size() && is_lead(text[text.size() - 1 - run])) {
    ++run;
  }
  return run % 2 == 1;
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
