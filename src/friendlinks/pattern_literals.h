#pragma once
// The fixed texts a Perl pattern is bound to contain, found by reading the pattern
// itself, and a literal search for them. They let a search try the pattern only
// where a match can begin, and give up as soon as no match can follow.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "web/text.h"

namespace shop {

struct PatternLiterals {
  Text prefix;                // every match begins with it (byte for byte, up to case)
  std::vector<Text> ordered;  // every match holds these after the prefix, in this order
};

// The literals of a pattern, or nothing when the pattern uses syntax this reading
// does not follow (alternation, "(?" groups, uncommon escapes) or does not begin
// with fixed text. Only the plain parts of the pattern count: a character or group
// with a quantifier, a class, "." and every escape other than an escaped
// punctuation mark end a fixed text.
std::optional<PatternLiterals> pattern_literals(std::string_view pattern);

// A literal search over bytes, optionally ignoring the case of ASCII letters
// (bytes of 0x80 and above always compare exactly).
class LiteralFinder {
 public:
  LiteralFinder(std::string_view literal, bool ignore_ascii_case);
  // The first position at or after `from` where the literal begins, or npos.
  std::size_t find(std::string_view text, std::size_t from) const;
  std::size_t size() const { return literal_.size(); }

 private:
  Text literal_;  // letters folded to lower case when the case is ignored
  bool ignore_ascii_case_;
  std::array<std::size_t, 256> skip_{};  // how far a mismatch on the last byte moves
};

// Whether the literals still occur one after another from some position on. The
// positions asked about must not decrease: each answer reuses the occurrences found
// for the one before, so a whole run of questions reads the text about once.
class OrderedLiteralsCheck {
 public:
  OrderedLiteralsCheck(const std::vector<Text>& literals, bool ignore_ascii_case);
  bool follow(std::string_view text, std::size_t from);

 private:
  struct Entry {
    LiteralFinder finder;
    std::size_t found = std::string_view::npos;
    bool searched = false;
  };
  std::vector<Entry> entries_;
};

}  // namespace shop
