#include "friendlinks/pattern_literals.h"

namespace shop {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// A token of the pattern as read: a fixed byte, or a break between fixed texts.
constexpr int kBreak = -1;

// Escaped, these stand for themselves ("\<", "\>", "\`" and "\'" are assertions).
constexpr std::string_view kLiteralEscapes = "\\^$.|?*+()[]{}/\"-:=!#&%,;@_~ ";
// Escapes of one character that match something other than fixed text ("\A" and
// "\G" depend on where a search starts, so they are not read).
constexpr std::string_view kAtomEscapes = "dDwWsSbBzZntrfevhHRXlLuUC";
// Characters that are syntax rather than text.
constexpr std::string_view kSyntax = "\\^$.|?*+()[]{}";

unsigned char fold(unsigned char byte, bool ignore_ascii_case) {
  return ignore_ascii_case && byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 32)
                                                         : byte;
}

// The position behind the class that opens at `at`, or npos when it never closes.
std::size_t skip_class(std::string_view pattern, std::size_t at) {
  std::size_t i = at + 1;
  if (i < pattern.size() && pattern[i] == '^') {
    ++i;
  }
  if (i < pattern.size() && pattern[i] == ']') {
    ++i;  // a "]" first in the class is a member
  }
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\\') {
      i += 2;
    } else if (c == '[' && i + 1 < pattern.size() &&
               std::string_view(":.=").find(pattern[i + 1]) != npos) {
      const std::size_t end = pattern.find(Text{pattern[i + 1], ']'}, i + 2);
      if (end == npos) {
        return npos;
      }
      i = end + 2;
    } else if (c == ']') {
      return i + 1;
    } else {
      ++i;
    }
  }
  return npos;
}

// The length of the quantifier at `at` (with its lazy or possessive mark), 0 when
// there is none, npos when a "{" never closes.
std::size_t quantifier_length(std::string_view pattern, std::size_t at) {
  if (at >= pattern.size()) {
    return 0;
  }
  std::size_t end = at + 1;
  if (pattern[at] == '{') {
    const std::size_t close = pattern.find('}', at);
    if (close == npos) {
      return npos;
    }
    end = close + 1;
  } else if (std::string_view("?*+").find(pattern[at]) == npos) {
    return 0;
  }
  if (end < pattern.size() && (pattern[end] == '?' || pattern[end] == '+')) {
    ++end;
  }
  return end - at;
}

// The pattern as fixed bytes and breaks. A quantified character or group is a
// break: it may occur any number of times, none included.
std::optional<std::vector<int>> read_tokens(std::string_view pattern) {
  std::vector<int> tokens;
  std::vector<std::size_t> open_groups;  // the token count where each open group began
  std::size_t at = 0;
  while (at < pattern.size()) {
    const char c = pattern[at];
    std::size_t next = at + 1;
    if (c == '|' || (c == '(' && next < pattern.size() && pattern[next] == '?')) {
      return std::nullopt;
    }
    if (c == '(') {
      open_groups.push_back(tokens.size());
      at = next;
      continue;
    }
    int token = kBreak;
    if (c == ')') {
      if (open_groups.empty()) {
        return std::nullopt;
      }
      const std::size_t quantifier = quantifier_length(pattern, next);
      if (quantifier == npos) {
        return std::nullopt;
      }
      if (quantifier > 0) {
        tokens.resize(open_groups.back());
        tokens.push_back(kBreak);
      }
      open_groups.pop_back();
      at = next + quantifier;
      continue;
    }
    if (c == '[') {
      next = skip_class(pattern, at);
      if (next == npos) {
        return std::nullopt;
      }
    } else if (c == '\\') {
      if (next == pattern.size()) {
        return std::nullopt;
      }
      const char escaped = pattern[next++];
      if (kLiteralEscapes.find(escaped) != npos) {
        token = static_cast<unsigned char>(escaped);
      } else if (kAtomEscapes.find(escaped) == npos) {
        return std::nullopt;
      }
    } else if (std::string_view("?*+{").find(c) != npos) {
      return std::nullopt;  // a quantifier with nothing before it
    } else if (kSyntax.find(c) == npos) {
      token = static_cast<unsigned char>(c);
    }
    const std::size_t quantifier = quantifier_length(pattern, next);
    if (quantifier == npos) {
      return std::nullopt;
    }
    tokens.push_back(quantifier > 0 ? kBreak : token);
    at = next + quantifier;
  }
  if (!open_groups.empty()) {
    return std::nullopt;
  }
  return tokens;
}

}  // namespace

std::optional<PatternLiterals> pattern_literals(std::string_view pattern) {
  const std::optional<std::vector<int>> tokens = read_tokens(pattern);
  if (!tokens || tokens->empty() || tokens->front() == kBreak) {
    return std::nullopt;
  }
  std::vector<Text> runs(1);
  for (const int token : *tokens) {
    if (token != kBreak) {
      runs.back() += static_cast<char>(token);
    } else if (!runs.back().empty()) {
      runs.emplace_back();
    }
  }
  if (runs.back().empty()) {
    runs.pop_back();
  }
  PatternLiterals literals;
  literals.prefix = std::move(runs.front());
  literals.ordered.assign(std::make_move_iterator(runs.begin() + 1),
                          std::make_move_iterator(runs.end()));
  return literals;
}

LiteralFinder::LiteralFinder(std::string_view literal, bool ignore_ascii_case)
    : ignore_ascii_case_(ignore_ascii_case) {
  for (const char c : literal) {
    literal_ += static_cast<char>(fold(static_cast<unsigned char>(c), ignore_ascii_case));
  }
  // Horspool's table: the distance from a byte's last place before the end of the
  // literal to that end.
  skip_.fill(literal_.size());
  for (std::size_t i = 0; i + 1 < literal_.size(); ++i) {
    skip_[static_cast<unsigned char>(literal_[i])] = literal_.size() - 1 - i;
  }
  if (ignore_ascii_case) {
    for (unsigned char upper = 'A'; upper <= 'Z'; ++upper) {
      skip_[upper] = skip_[upper + 32];
    }
  }
}

std::size_t LiteralFinder::find(std::string_view text, std::size_t from) const {
  const std::size_t length = literal_.size();
  if (from > text.size() || text.size() - from < length) {
    return npos;
  }
  if (length == 0) {
    return from;
  }
  const auto same = [this](char a, char b) {
    return fold(static_cast<unsigned char>(a), ignore_ascii_case_) == static_cast<unsigned char>(b);
  };
  for (std::size_t at = from; at + length <= text.size();
       at += skip_[static_cast<unsigned char>(text[at + length - 1])]) {
    std::size_t i = length;
    while (i > 0 && same(text[at + i - 1], literal_[i - 1])) {
      --i;
    }
    if (i == 0) {
      return at;
    }
  }
  return npos;
}

OrderedLiteralsCheck::OrderedLiteralsCheck(const std::vector<Text>& literals,
                                           bool ignore_ascii_case) {
  for (const Text& literal : literals) {
    entries_.push_back({LiteralFinder(literal, ignore_ascii_case)});
  }
}

bool OrderedLiteralsCheck::follow(std::string_view text, std::size_t from) {
  std::size_t at = from;
  for (Entry& entry : entries_) {
    // An occurrence found for an earlier position is still the first one from
    // here, unless it lies before here; none then means none now either.
    if (!entry.searched || (entry.found != npos && entry.found < at)) {
      entry.found = entry.finder.find(text, at);
      entry.searched = true;
    }
    if (entry.found == npos) {
      return false;
    }
    at = entry.found + entry.finder.size();
  }
  return true;
}

}  // namespace shop
