#include "web/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace shop {
namespace {

// Texts are GBK bytes: 连衣裙 is C1 AC D2 C2 C8 B9, the list column separator
// ≤≌≥ is A1 DC A1 D5 A1 DD.
const Text kDress = "\xC1\xAC\xD2\xC2\xC8\xB9";
const Text kColumn = "\xA1\xDC\xA1\xD5\xA1\xDD";

struct FindCase {
  const char* what;
  Text text;
  Text part;
  int start;
  int first;  // find_text(text, part, start)
  int last;   // find_text_reverse(text, part)
};

TEST(FindText, FindsOnlyAtCharacterStarts) {
  const std::vector<FindCase> cases = {
      {"lower case", "ABab", "ab", 1, 3, 3},
      {"upper case", "ABab", "AB", 1, 1, 1},
      {"on a second byte",
       "\xB0\xA1"
       "A1",
       "\xA1"
       "A",
       1, -1, -1},
      {"after a character",
       "\xB0\xA1"
       "A1",
       "A1", 1, 3, 3},
      {"second byte below 0x80",
       "\xB0"
       "A"
       "\xB0\xB1",
       "A", 1, -1, -1},
      {"pair after such a character",
       "\xB0"
       "A"
       "\xB0\xB1",
       "\xB0\xB1", 1, 3, 3},
      {"several hits", "a-b-c", "-", 1, 2, 4},
      {"inside a run of pairs", "\xB0\xB1\xB0\xB1\xB0\xB1", "\xB0\xB1", 1, 1, 5},
      {"straddling pairs", "\xB0\xB1\xB0\xB1\xB0\xB1", "\xB1\xB0", 1, -1, -1},
      {"chinese part", "a" + kDress + "b", "\xD2\xC2", 1, 4, 4},
      {"from a start position", "abcabc", "abc", 2, 4, 4},
      {"start at the last byte", "abc", "c", 3, 3, 3},
      {"start beyond the end", "abc", "c", 4, -1, 3},
      {"start below 1", "abc", "a", -7, 1, 1},
      // The walk begins at the start position, even on a second byte.
      {"walk from the start",
       "\xB0\xA1\xA1\xB0"
       "xx",
       "\xA1\xA1", 2, 2, -1},
      {"not from the start",
       "\xB0\xA1\xA1\xB0"
       "xx",
       "\xA1\xA1", 1, -1, -1},
      {"part longer than text", "ab", "abc", 1, -1, -1},
      {"empty part", "abc", "", 1, 1, 1},
      {"empty part later", "abc", "", 3, 1, 1},
      {"empty part, empty range", "abc", "", 4, -1, 1},
      {"empty text", "", "", 1, -1, -1},
      {"nothing in empty text", "", "a", 1, -1, -1},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(find_text(c.text, c.part, c.start), c.first) << c.what;
    EXPECT_EQ(find_text_reverse(c.text, c.part), c.last) << c.what;
  }
}

struct TextCase {
  const char* what;
  Text actual;
  Text expected;
};

TEST(TextHelpers, CutEncodeAndExtract) {
  const Text page = "x<b>1</b><b>2</b>";
  const std::vector<TextCase> cases = {
      {"left", text_left("abc", 2), "ab"},
      {"left, count too big", text_left("abc", INT_MAX), "abc"},
      {"left, count 0", text_left("abc", 0), ""},
      {"left, count negative", text_left("abc", -1), ""},
      {"right", text_right("abc", 2), "bc"},
      {"right, count too big", text_right("abc", 9), "abc"},
      {"right, count negative", text_right("abc", -3), ""},
      {"mid", text_mid("abcde", 2, 3), "bcd"},
      {"mid, text ends first", text_mid("abcde", 4, INT_MAX), "de"},
      {"mid, position 0", text_mid("abc", 0, 2), ""},
      {"mid, beyond the end", text_mid("abc", 4, 1), ""},
      {"mid, count 0", text_mid("abc", 1, 0), ""},
      {"encode space and slash", url_encode("a b/c"), "a%20b%2Fc"},
      {"encode kept bytes", url_encode("A-Z_a.z*,09~"), "A-Z_a.z*,09%7E"},
      {"encode chinese", url_encode(kDress), "%C1%AC%D2%C2%C8%B9"},
      {"encode small value", url_encode("\n+`@"), "%0A%2B%60@"},
      {"encode empty", url_encode(""), ""},
      {"between, mode 1", text_between(page, "<b>", "</b>", 1), "1"},
      {"between, mode 0", text_between(page, "<b>", "</b>", 0), "1</b><b>2"},
      {"between, default mode", text_between(page, "<b>", "</b>"), "1</b><b>2"},
      {"between, no start, mode 0", text_between(page, "<i>", "</b>", 0), ""},
      {"between, no start, mode 1", text_between(page, "<i>", "</b>", 1), ""},
      {"between, no end", text_between(page, "<b>", "</i>", 1), ""},
      {"between, end before start", text_between("</b>x<b>", "<b>", "</b>", 0), ""},
      {"between, end right at start", text_between("<b></b>", "<b>", "</b>", 1), ""},
      // In mode 0 the end marker is looked for in the whole text.
      {"between, end only in front", text_between("a</b><b>c", "<b>", "</b>", 0), ""},
      {"before, marker missing", text_before("abc", "/"), ""},
      {"before, marker at 1", text_before("/abc", "/"), ""},
      {"before, last marker", text_before("a.b.c", "."), "a.b"},
      {"before, trailing marker", text_before("shop/123/", "/"), "shop/123"},
      {"replace all", replace_text("{a}x{a}{a}", "{a}", "1"), "1x11"},
      {"replace, value not rescanned", replace_text("{a}", "{a}", "{a}{a}"), "{a}{a}"},
      {"replace, not on a second byte", replace_text("\xB0{a}", "{a}", "1"), "\xB0{a}"},
      {"replace, empty placeholder", replace_text("abc", "", "1"), "abc"},
      {"replace, empty value", replace_text("a--b", "-", ""), "ab"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(c.actual, c.expected) << c.what;
  }
}

TEST(UrlEncode, EveryByteKeptOrEscapedWithCapitalHex) {
  for (int value = 1; value <= 0xFF; ++value) {
    const bool kept = value == 0x2A || (value >= 0x2C && value <= 0x2E) ||
                      (value >= '0' && value <= '9') || value == '@' ||
                      (value >= 'A' && value <= 'Z') || value == '_' ||
                      (value >= 'a' && value <= 'z');
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", value);
    const Text byte(1, static_cast<char>(value));
    EXPECT_EQ(url_encode(byte), kept ? byte : Text(escaped)) << "byte " << value;
  }
}

TEST(SplitText, ListFileRule) {
  struct SplitCase {
    const char* what;
    Text text;
    Text separator;
    std::vector<Text> pieces;
  };
  const std::vector<SplitCase> cases = {
      {"fields", "a" + kColumn + kDress + kColumn, kColumn, {"a", kDress}},
      {"rest after the last separator", "a" + kColumn + "b", kColumn, {"a", "b"}},
      {"empty pieces kept", "\r\n\r\nx", "\r\n", {"", "", "x"}},
      {"separator only", kColumn, kColumn, {""}},
      {"empty text", "", kColumn, {}},
      {"separator on a second byte", "\xB0" + kColumn, kColumn, {"\xB0" + kColumn}},
      {"empty separator", "abc", "", {"abc"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(split_text(c.text, c.separator), c.pieces) << c.what;
  }
}

// Plain character walk from offset `from`, the rule the fast searches must keep.
size_t walk_find(const Text& text, const Text& part, size_t from) {
  for (size_t at = from; at < text.size();
       at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1) {
    if (text.compare(at, part.size(), part) == 0) {
      return at;
    }
  }
  return Text::npos;
}

int walk_find_last(const Text& text, const Text& part) {
  int last = -1;
  for (size_t at = walk_find(text, part, 0); at != Text::npos;
       at = walk_find(text, part, at + (static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1))) {
    last = static_cast<int>(at) + 1;
  }
  return last;
}

std::vector<Text> walk_split(const Text& text, const Text& separator) {
  std::vector<Text> pieces;
  size_t from = 0;
  while (from < text.size()) {
    const size_t at = walk_find(text, separator, from);
    pieces.push_back(text.substr(from, at == Text::npos ? Text::npos : at - from));
    if (at == Text::npos) {
      break;
    }
    from = at + separator.size();
  }
  return pieces;
}

// Random GBK-like bytes; `high_share` of them >= 0x80, so long runs of lead
// bytes and odd pairings come up often.
Text random_text(std::mt19937& random, size_t length, double high_share) {
  static const char kLow[] = {'a', 'b', '<', '/'};
  static const char kHigh[] = {'\xB0', '\xA1', '\xC1'};
  std::bernoulli_distribution high(high_share);
  Text text;
  for (size_t i = 0; i < length; ++i) {
    text.push_back(high(random) ? kHigh[random() % 3] : kLow[random() % 4]);
  }
  return text;
}

TEST(TextProperties, AgreeWithCharacterWalkOnRandomText) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 3000; ++round) {
    const double high_share = (round % 3) * 0.45;  // 0, 0.45, 0.9
    const Text text = random_text(random, random() % 600, high_share);
    const Text part = random_text(random, 1 + random() % 3, high_share);
    SCOPED_TRACE(::testing::PrintToString(text) + " / " + ::testing::PrintToString(part));

    for (int start = 0; start <= static_cast<int>(text.size()) + 1; start += 1 + start / 16) {
      const size_t from = start <= 1 ? 0 : static_cast<size_t>(start - 1);
      const size_t walked = from < text.size() ? walk_find(text, part, from) : Text::npos;
      ASSERT_EQ(find_text(text, part, start), walked == Text::npos ? -1 : int(walked) + 1)
          << "start " << start;
    }
    ASSERT_EQ(find_text_reverse(text, part), walk_find_last(text, part));
    ASSERT_EQ(split_text(text, part), walk_split(text, part));

    Text replaced;
    for (size_t from = 0; from < text.size();) {
      const size_t at = walk_find(text, part, from);
      replaced += text.substr(from, at == Text::npos ? Text::npos : at - from);
      if (at == Text::npos) {
        break;
      }
      replaced += "#";
      from = at + part.size();
    }
    ASSERT_EQ(replace_text(text, part, "#"), replaced);

    const int position = static_cast<int>(random() % (text.size() + 3)) - 1;
    const int count = static_cast<int>(random() % (text.size() + 3)) - 1;
    const Text mid = text_mid(text, position, count);
    if (position >= 1 && count > 0 && position <= static_cast<int>(text.size())) {
      ASSERT_EQ(mid, text.substr(position - 1, count));
    } else {
      ASSERT_TRUE(mid.empty());
    }
  }
}

}  // namespace
}  // namespace shop
