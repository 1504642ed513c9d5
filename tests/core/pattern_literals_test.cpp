#include "friendlinks/pattern_literals.h"

#include <gtest/gtest.h>

namespace shop {
namespace {

TEST(PatternLiterals, ReadsTheFixedTextsOfAPattern) {
  struct Case {
    std::string_view pattern;
    Text prefix;
    std::vector<Text> ordered;
  };
  const Case cases[] = {
      {R"re((http://.*?\.taobao\.com)"  target="_blank">(.*?)</a>)re",
       "http://",
       {".taobao.com\"  target=\"_blank\">", "</a>"}},
      {R"re(<a href="(http://shop.paipai.com/[0-9]*)" target="_blank">(.*?)</a>)re",
       "<a href=\"http://shop",
       {"paipai", "com/", "\" target=\"_blank\">", "</a>"}},
      // A quantified character or group may be absent: it ends a fixed text.
      {"ab?c", "a", {"c"}},
      {"abc+d", "ab", {"d"}},
      {"ab{2,3}?c", "a", {"c"}},
      {"x(yz)*w", "x", {"w"}},
      {"x(y(z)+)w", "xy", {"w"}},
      {"x(yz)w", "xyzw", {}},
      // Classes (with "]" first, POSIX names and escapes inside) and atoms.
      {R"re(a[]x]b[[:alpha:]]c[\]]d\de\.f)re", "a", {"b", "c", "d", "e.f"}},
      {R"re(a\/\"\-b^c$d)re", "a/\"-b", {"c", "d"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    const std::optional<PatternLiterals> literals = pattern_literals(c.pattern);
    ASSERT_TRUE(literals.has_value());
    EXPECT_EQ(literals->prefix, c.prefix);
    EXPECT_EQ(literals->ordered, c.ordered);
  }
}

TEST(PatternLiterals, NothingForSyntaxItDoesNotFollowOrNoFixedBeginning) {
  for (const std::string_view pattern :
       {"",        ".*abc",   "[ab]cd",    "(ab)?cd", "a?bc", "\\dabc", "abc|abd",
        "(?i)abc", "a(?=b)c", "\\Qa.b\\E", "a\\x41",  "a\\1", "a\\<b",  "\\Aab",
        "a\\Gb",   "a(b",     "a)b",       "a[bc",    "a{2",  "*a",     "a\\"}) {
    EXPECT_FALSE(pattern_literals(pattern).has_value()) << pattern;
  }
}

TEST(LiteralFinder, FindsBytesIgnoringOnlyTheCaseOfAsciiLetters) {
  const std::string_view text = "xx<A HREF=x \xC4\xE3 \xC4\xC3 <a href=";
  struct Case {
    std::string_view literal;
    bool ignore_case;
    std::size_t from;
    std::size_t found;
  };
  const Case cases[] = {
      {"<a href=", true, 0, 2},
      {"<a href=", true, 3, 18},
      {"<a href=", false, 0, 18},
      {"<a href=", true, 19, std::string_view::npos},
      {"\xC4\xC3", true, 0, 15},
      {"\xE4\xE3", true, 0, std::string_view::npos},  // bytes from 0x80 up are never folded
      {"", true, 4, 4},
      {"href=", true, 27, std::string_view::npos},
      {"href=", true, 99, std::string_view::npos},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LiteralFinder(c.literal, c.ignore_case).find(text, c.from), c.found)
        << c.literal << " from " << c.from;
  }
}

TEST(OrderedLiteralsCheck, FollowsForNonDecreasingPositions) {
  const std::string_view text = "a-B-c a-b";
  OrderedLiteralsCheck check({"b", "c"}, true);
  EXPECT_TRUE(check.follow(text, 0));
  EXPECT_TRUE(check.follow(text, 2));
  EXPECT_FALSE(check.follow(text, 3)) << "no c after the second b";
  EXPECT_FALSE(check.follow(text, 5));

  OrderedLiteralsCheck exact({"b"}, false);
  EXPECT_TRUE(exact.follow(text, 0)) << "the lower-case b at the end";
  EXPECT_FALSE(exact.follow(text, 9));
}

}  // namespace
}  // namespace shop
