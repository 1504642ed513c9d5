#include <gtest/gtest.h>

#include <boost/regex.hpp>
#include <limits>
#include <random>

#include "ranking/search_scan.h"
#include "support/core/fake_marketplace.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using test_support::FakeMarketplace;
using testing::gbk;

const Text kCode = "9723820700000000040100000C465B4E";

TEST(RankingScan, PageCountIsTheLeadingNumberOfTheBox) {
  const struct {
    Text text;
    std::int32_t count;
  } cases[] = {
      {"10", 10},
      {"   20", 20},
      {"30页", 30},
      {"7x9", 7},
      {"007", 7},
      {"0", 0},
      {"abc", 0},
      {"", 0},
      {"-5", 0},
      {" +5", 0},
      {"99999999999999", std::numeric_limits<std::int32_t>::max()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_page_count(c.text), c.count) << c.text;
  }
}

TEST(RankingScan, PaipaiItemCodeCandidates) {
  const struct {
    Text address;
    std::vector<Text> codes;
  } cases[] = {
      {"http://auction1.paipai.com/search/0/" + kCode + "-8B80.html", {kCode}},
      // A run of 40: its first 32 characters; the other 8 make no second code.
      {"http://a/" + kCode + "ABCDEFGH.html", {kCode}},
      {"http://a/" + kCode + "-" + kCode + ".html", {kCode, kCode}},
      {"http://a/9723820700000000040100000c465b4e.html", {}},
      {"http://a/none.html", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(paipai_item_code_candidates(c.address), c.codes) << c.address;
  }
}

TEST(RankingScan, QueryValue) {
  const struct {
    Text address;
    Text key;
    Text value;
  } cases[] = {
      {"http://item.taobao.com/item.htm?spm=a&id=12345", "id", "12345"},
      {"http://x/?id=123&x=1", "id", "123"},
      {"http://x/id=5/item.htm", "id", ""},  // only in the path
      {"http://x/?a=1?id=7", "id", "7"},     // after the last "?"
      {"http://x/?id=9?a=1", "id", ""},
      {"http://x/?", "id", ""},
      {"http://x/?id=", "id", ""},           // one part only
      {"http://x/?id=1=2&id=3", "id", "3"},  // three parts are passed over
      {"http://x/?ID=123", "id", ""},        // keys are case-sensitive
      {"http://x/?&&id=4&", "id", "4"},
      {"http://x/?cid=1&id=2", "id", "2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(query_value(c.address, c.key), c.value) << c.address;
  }
}

TEST(RankingScan, SearchAddressesJoinThePieces) {
  const std::vector<Text> parts = {"P0?k=", "&o=", "&p=", "T3?q=", "&s="};
  EXPECT_EQ(paipai_search_address(parts, gbk("连衣裙 夏"), "77", 12),
            "P0?k=%C1%AC%D2%C2%C8%B9%20%CF%C4&o=77&p=12");
  EXPECT_EQ(taobao_search_address(parts, "a/b", 1, ""), "T3?q=a%2Fb&s=0");
  EXPECT_EQ(taobao_search_address(parts, "k", 3, "&sort=credit-desc"),
            "T3?q=k&s=80&sort=credit-desc");
  EXPECT_EQ(taobao_search_address(parts, "k", 20, ""), "T3?q=k&s=760");
  EXPECT_EQ(taobao_search_address(parts, "k", std::numeric_limits<std::int32_t>::max(), ""),
            "T3?q=k&s=85899345840")
      << "no overflow";
  EXPECT_EQ(paipai_search_address({}, "k", "77", 1), "k771") << "missing pieces are empty";
}

TEST(RankingScan, ResultTexts) {
  EXPECT_EQ(place_text(2, 15), gbk("2页第15个"));
  EXPECT_EQ(not_within_text("10"), gbk("不在10页内"));
  EXPECT_EQ(kCheckingPlaceholder, gbk("计算中..."));
}

TEST(RankingScan, PaipaiPlaceOnAResultPage) {
  const Text other = "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
  const Text lower_listing = "photo\" onmouseover=\"PP.goodsListProcess.zoomImg(this,'abc','x')";
  const Text any_dots = "photo\" onmouseover=\"PPxgoodsListProcess#zoomImg(this,'" + kCode + "','";
  const struct {
    const char* name;
    Text page;
    Text key;
    int place;
  } cases[] = {
      {"first", FakeMarketplace::paipai_page({kCode, other}), kCode, 1},
      {"third", FakeMarketplace::paipai_page({other, other, kCode}), kCode, 3},
      {"listed twice", FakeMarketplace::paipai_page({other, kCode, other, kCode}), kCode, 2},
      {"absent", FakeMarketplace::paipai_page({other, other}), kCode, 0},
      {"empty key", FakeMarketplace::paipai_page({other}), "", 0},
      {"empty page", "", kCode, 0},
      {"small letters are no listing", lower_listing + FakeMarketplace::paipai_page({kCode}), kCode,
       1},
      {"the dots match any character", any_dots, kCode, 1},
      {"a code is compared whole", FakeMarketplace::paipai_page({kCode + "9"}), kCode, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(paipai_listing_place(c.page, c.key), c.place) << c.name;
  }
}

TEST(RankingScan, TaobaoPlaceCountsTheResultBlockOnly) {
  std::vector<std::string> seven = {"1", "2", "3", "4", "5", "6", "777"};
  const struct {
    const char* name;
    Text page;
    Text key;
    int place;
  } cases[] = {
      {"seventh", FakeMarketplace::taobao_page(seven), "777", 7},
      {"outside the block", FakeMarketplace::taobao_page({"1", "777"}, {"777", "9"}), "777", 2},
      {"only outside", FakeMarketplace::taobao_page({"1"}, {"777"}), "777", 0},
      {"no end marker", "dynamic:{\"nid\":\"777\"}", "777", 0},
      {"end marker before start", "}}dynamic:{\"nid\":\"777\"", "777", 0},
      {"no start marker", "{\"nid\":\"777\"}}", "777", 0},
      {"shortest run to the quote", "dynamic:nid\":\"12\"3\"}}", "12", 1},
      // An address without an id names no listing, not even one with an empty id.
      {"empty key", FakeMarketplace::taobao_page({"1", ""}), "", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(taobao_listing_place(c.page, c.key), c.place) << c.name;
  }
}

// The codes a plain Boost.Regex iteration over the whole text finds.
std::vector<std::string> reference_codes(const std::string& text, std::string_view pattern) {
  std::vector<std::string> codes;
  const boost::regex compiled{std::string(pattern)};
  try {
    for (boost::sregex_iterator it(text.begin(), text.end(), compiled), end; it != end; ++it) {
      codes.push_back((*it)[1].str());
    }
  } catch (const std::exception&) {
  }
  return codes;
}

std::vector<std::string> scanned_codes(const std::string& text, bool paipai) {
  std::vector<std::string> codes;
  const auto collect = [&codes](std::string_view code) {
    codes.emplace_back(code);
    return false;
  };
  paipai ? scan_paipai_listings(text, collect) : scan_taobao_listings(text, collect);
  return codes;
}

// Texts stitched from pieces of listings (whole, cut short, overlapping, with GBK
// bytes between them): scanning only at the fixed prefixes finds exactly what a
// search over the whole text finds.
TEST(RankingScan, PrefixScanFindsWhatTheWholeTextSearchFinds) {
  const std::vector<std::string> paipai_pieces = {
      "photo\" onmouseover=\"PP.goodsListProcess.zoomImg(this,'",
      "photo\" onmouseover=\"PP",
      "photo\" onmouseover=\"photo\" onmouseover=\"PP",
      ".goodsListProcess.zoomImg(this,'",
      "ABC123",
      "','",
      "'",
      "abc",
      "\xC1\xAC",
      "\n",
      "photo",
  };
  const std::vector<std::string> taobao_pieces = {
      "nid\":\"", "nid\":\"nid\":\"", "\"", "123", "nid", "\":\"", "\xD2\xC2", "x", "\n",
  };
  std::mt19937 random(20261211);
  for (const bool paipai : {true, false}) {
    const std::vector<std::string>& pieces = paipai ? paipai_pieces : taobao_pieces;
    const std::string_view pattern = paipai ? kPaipaiListingPattern : kTaobaoListingPattern;
    for (int round = 0; round < 2000; ++round) {
      std::string text;
      const int count = static_cast<int>(random() % 30);
      for (int i = 0; i < count; ++i) {
        text += pieces[random() % pieces.size()];
      }
      ASSERT_EQ(scanned_codes(text, paipai), reference_codes(text, pattern))
          << (paipai ? "paipai: " : "taobao: ") << text;
    }
  }
}

TEST(RankingScan, PathologicalPagesCountAsPagesWithoutTheItem) {
  const std::string long_id = "dynamic:nid\":\"" + std::string(4 << 20, 'x') + "}}";
  EXPECT_EQ(taobao_listing_place(long_id, "1"), 0);
  const std::string long_code =
      "photo\" onmouseover=\"PP.goodsListProcess.zoomImg(this,'" + std::string(4 << 20, 'A');
  EXPECT_EQ(paipai_listing_place(long_code, kCode), 0);
}

TEST(RankingScan, FixedPrefixOfAPattern) {
  const struct {
    std::string_view pattern;
    Text prefix;
  } cases[] = {
      {kPaipaiListingPattern, R"re(photo" onmouseover="PP)re"},
      {kTaobaoListingPattern, R"re(nid":")re"},
      {kPaipaiItemCodePattern, ""},
      {R"re(<li data-code="([A-Z0-9]+)")re", R"re(<li data-code=")re"},
      {"abc", "abc"},
      {"abc+d", "ab"},  // the quantified c may repeat
      {"abc?d", "ab"},
      {"abc*", "ab"},
      {"abc{2}(x)", "ab"},
      {"^abc(x)", ""},
      {R"re(\d+(x))re", ""},
      {"ab(c)|x(y)", ""},  // an alternation anywhere
      {"(?i)abc(x)", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fixed_prefix_of(c.pattern), c.prefix) << c.pattern;
    EXPECT_EQ(ListingPattern(c.pattern).fixed_prefix(), c.prefix) << c.pattern;
  }
}

// Configured patterns, with and without a prefix the scan can take: over texts
// stitched from pieces they find exactly what a search over the whole text finds.
TEST(RankingScan, ConfiguredPatternsFindWhatTheWholeTextSearchFinds) {
  const std::vector<std::string> patterns = {
      R"re(<li data-code="([A-Z0-9]+)")re", R"re(<li data-code="?([A-Z0-9]+)")re",
      R"re((?:<li|<dd) data-code="([A-Z0-9]+)")re", R"re(data-code=(")?([A-Z0-9]*)")re",
      R"re(\bcode="([A-Z0-9]+)")re"};
  const std::vector<std::string> pieces = {"<li data-code=\"",
                                           "<dd data-code=\"",
                                           "<li data-code=",
                                           "data-code=",
                                           "code=\"",
                                           "ABC123",
                                           "\"",
                                           "x",
                                           "\xC1\xAC",
                                           "<li",
                                           " ",
                                           "\n"};
  std::mt19937 random(20261212);
  for (const std::string& pattern : patterns) {
    const ListingPattern configured(pattern);
    for (int round = 0; round < 1000; ++round) {
      std::string text;
      const int count = static_cast<int>(random() % 30);
      for (int i = 0; i < count; ++i) {
        text += pieces[random() % pieces.size()];
      }
      std::vector<std::string> codes;
      configured.scan(text, [&codes](std::string_view code) {
        codes.emplace_back(code);
        return false;
      });
      ASSERT_EQ(codes, reference_codes(text, pattern)) << pattern << ": " << text;
    }
  }
}

TEST(RankingScan, ConfiguredRulesFindItemsInOtherMarkup) {
  ScanRules rules;
  rules.paipai_listing = ListingPattern(R"re(<li data-code="([A-Z0-9]+)")re");
  rules.taobao_block_start = "\"items\":[";
  rules.taobao_block_end = "]";
  rules.taobao_listing = ListingPattern(R"re("id":([0-9]+))re");
  rules.taobao_items_per_page = 44;

  const Text other = "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA";
  Text paipai_page;
  for (const Text& code : {other, other, kCode}) {
    paipai_page += "<ul><li data-code=\"" + code + "\"><img src=\"x.jpg\"></li></ul>";
  }
  EXPECT_EQ(paipai_listing_place(paipai_page, kCode, rules), 3);
  EXPECT_EQ(paipai_listing_place(paipai_page, kCode), 0) << "not the default markup";

  const Text taobao_page = R"re({"id":1} {"items":[{"id":5},{"id":777},{"id":9}]} {"id":777})re";
  EXPECT_EQ(taobao_listing_place(taobao_page, "777", rules), 2);
  EXPECT_EQ(taobao_listing_place(taobao_page, "777"), 0);
  EXPECT_EQ(taobao_search_address({"", "", "", "T?q=", "&s="}, "k", 3, "", rules), "T?q=k&s=88");
}

TEST(RankingScan, AConfiguredPatternThatGivesUpCountsAsAPageWithoutTheItem) {
  ScanRules rules;
  rules.paipai_listing = ListingPattern("(c?)(a*)*b");
  rules.taobao_listing = ListingPattern("x(a*)*b");
  const Text page = "cab" + Text(1 << 20, 'a');
  EXPECT_EQ(paipai_listing_place(page, "c", rules), 1) << "the listing before the failure";
  EXPECT_EQ(paipai_listing_place(page, "zz", rules), 0);
  EXPECT_EQ(taobao_listing_place("dynamic:x" + page + "}}", "zz", rules), 0);
}

}  // namespace
}  // namespace shop
