#include "friendlinks/friend_links.h"

#include <gtest/gtest.h>

#include <boost/regex.hpp>
#include <random>

#include "support/core/temp_dir.h"

namespace shop {

bool operator==(const FriendLink& a, const FriendLink& b) {
  return a.address == b.address && a.name == b.name;
}
void PrintTo(const FriendLink& link, std::ostream* out) {
  *out << "{" << link.address << ", " << link.name << "}";
}

namespace {

using testing::gbk;

const FriendLinkSites kSites{"paipai.com", "shop.paipai.com", "taobao.com"};

Text taobao_anchor(const Text& address, const Text& name) {
  return "<a href=\"" + address + "\"  target=\"_blank\">" + name + "</a>";
}
Text paipai_anchor(const Text& address, const Text& name) {
  return "<a href=\"" + address + "\" target=\"_blank\">" + name + "</a>";
}
Text taobao_block(const Text& inside) {
  return gbk("<span>友情链接</span>") + inside + "\n</div>\n</div>";
}
Text paipai_block(const Text& inside) {
  return "<div class=\"pfhlkd_link\">" + inside + "</div>";
}

TEST(ExtractFriendLinks, CutsTheBlockAndMatchesTheLinks) {
  const Text taobao_page = taobao_anchor("http://before.taobao.com", "before") +
                           taobao_block(taobao_anchor("http://a.taobao.com", gbk("<b>甲</b>")) +
                                        "\n" + taobao_anchor("http://b.taobao.com", "B")) +
                           taobao_anchor("http://after.taobao.com", "after");
  const Text paipai_page =
      paipai_anchor("http://shop.paipai.com/1", "before") +
      paipai_block(paipai_anchor("http://shop.paipai.com/123", "digits") +
                   paipai_anchor("http://shop.paipai.com/", "none") +
                   paipai_anchor("http://shopXpaipai-com/7", "any byte for a dot") +
                   paipai_anchor("http://shop.paipai.com/12a", "not only digits")) +
      paipai_anchor("http://shop.paipai.com/2", "after");
  struct Case {
    const char* what;
    Text address;
    Text page;
    std::vector<FriendLink> links;
  };
  const Case cases[] = {
      {"taobao",
       "http://shop.taobao.com/",
       taobao_page,
       {{"http://a.taobao.com", gbk("<b>甲</b>")}, {"http://b.taobao.com", "B"}}},
      {"paipai",
       "http://shop.paipai.com/55",
       paipai_page,
       {{"http://shop.paipai.com/123", "digits"},
        {"http://shop.paipai.com/", "none"},
        {"http://shopXpaipai-com/7", "any byte for a dot"}}},
      {"capitals in the markup",
       "http://shop.taobao.com",
       taobao_block("<A HREF=\"HTTP://A.TAOBAO.COM\"  TARGET=\"_BLANK\">A</A>"),
       {{"HTTP://A.TAOBAO.COM", "A"}}},
      {"the domain test minds the case", "http://shop.TAOBAO.com", taobao_page, {}},
      {"neither domain", "http://shop.example.com", taobao_page, {}},
      {"CR LF before the end marker: no block",
       "http://shop.taobao.com",
       gbk("<span>友情链接</span>") + taobao_anchor("http://a.taobao.com", "A") +
           "\r\n</div>\r\n</div>",
       {}},
      // The lazy start takes in an earlier address of the block.
      {"an earlier http:// address",
       "http://shop.taobao.com",
       taobao_block("<img src=\"http://img.example/1.gif\">" +
                    taobao_anchor("http://a.taobao.com", "A")),
       {{"http://img.example/1.gif\"><a href=\"http://a.taobao.com", "A"}}},
      // Both domains: the Taobao cut runs over the Paipai block, which ends at its
      // first "</div>", so no Taobao end marker is left in it.
      {"both domains",
       "http://shop.paipai.com/1?from=taobao.com",
       paipai_block(taobao_block(taobao_anchor("http://a.taobao.com", "A"))),
       {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(extract_friend_links(c.page, c.address, kSites), c.links) << c.what;
  }
}

// Markup changed by the marketplace, and rules updated to match it.
TEST(ExtractFriendLinks, TakesTheMarkersAndPatternsOfTheRules) {
  const Text page = "<ul id=\"friends\"><li data-url=\"http://a.taobao.com\">A</li></ul>" +
                    taobao_block(taobao_anchor("http://old.taobao.com", "old"));
  FriendLinkRules rules = default_friend_link_rules(kSites);
  rules.taobao_block_start = "<ul id=\"friends\">";
  rules.taobao_block_end = "</ul>";
  rules.taobao_link_pattern = "data-url=\"(http://[^\"]*)\">(.*?)</li>";
  EXPECT_EQ(extract_friend_links(page, "http://shop.taobao.com", kSites, rules),
            (std::vector<FriendLink>{{"http://a.taobao.com", "A"}}));
  EXPECT_EQ(extract_friend_links(page, "http://shop.taobao.com", kSites),
            (std::vector<FriendLink>{{"http://old.taobao.com", "old"}}));

  rules.paipai_block_start = "<ol>";
  rules.paipai_block_end = "</ol>";
  rules.paipai_link_pattern = "<a href=(\\S+)>(\\w+)</a>";
  EXPECT_EQ(extract_friend_links("<ol><a href=http://shop.paipai.com/9>nine</a></ol>",
                                 "http://shop.paipai.com/1", kSites, rules),
            (std::vector<FriendLink>{{"http://shop.paipai.com/9", "nine"}}));
}

TEST(ExtractFriendLinks, SiteNamesAreLiteralText) {
  // A blank domain name names no address; regex characters in a name match only
  // themselves.
  const Text block = taobao_block(taobao_anchor("http://a.tao+bao.com", "A") +
                                  taobao_anchor("http://b.taoobao.com", "B"));
  EXPECT_EQ(extract_friend_links(block, "http://x.tao+bao.com", {"", "", "tao+bao.com"}),
            (std::vector<FriendLink>{{"http://a.tao+bao.com", "A"}}));
  EXPECT_TRUE(extract_friend_links(block, "http://x.tao+bao.com", {"", "", ""}).empty());
}

// The plain search: every match of the pattern over the whole text.
std::vector<FriendLink> reference_links(const Text& text, const Text& pattern) {
  std::vector<FriendLink> links;
  const boost::regex expression(pattern, boost::regex::perl | boost::regex::icase);
  for (boost::sregex_iterator match(text.begin(), text.end(), expression), end; match != end;
       ++match) {
    links.push_back({(*match)[1].str(), (*match)[2].str()});
  }
  return links;
}

// Pages strung together from pieces of link markup in both layouts, cut short,
// in other letter cases and mixed with Chinese text.
Text random_page(std::mt19937& random) {
  static const Text kPieces[] = {
      taobao_anchor("http://a.taobao.com", "A"),
      paipai_anchor("http://shop.paipai.com/12", gbk("甲店")),
      "<A HREF=\"HTTP://B.TAOBAO.COM\"  TARGET=\"_BLANK\">B</A>",
      "<a href=\"http://shopXpaipaiXcom/\" target=\"_blank\">",
      "http://",
      "http://x",
      ".taobao.com\"  target=\"_blank\">",
      "</a>",
      "</A>",
      "<a href=\"",
      "\" target=\"_blank\">",
      "<li>",
      "\n</div>\n",
      gbk("连衣裙"),
      "'",
      "<li><a href='http://c.taobao.com/'>C</a></li>",
  };
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(0, 40);
  Text page;
  for (int i = length(random); i > 0; --i) {
    page += kPieces[piece(random)];
  }
  return page;
}

TEST(FindFriendLinks, SameLinksAsASearchOverTheWholeText) {
  const Text patterns[] = {
      taobao_link_pattern("taobao.com"),
      paipai_link_pattern("shop.paipai.com"),
      // Patterns a seller might configure.
      R"re(<li><a href='([^']+)'>([^<]*)</a>)re",
      R"re(<a href="(http://(shop\.)?[a-z]+\.(taobao|paipai)\.com/?[0-9]*)"\s+target="_blank">(.*?)</a>)re",
      R"re(href="(.*?)"  target=("_blank")>)re",
      R"re(\.com/?([0-9]{1,3})?.*?(</a>))re",
  };
  std::mt19937 random(20261211);
  for (int round = 0; round < 3000; ++round) {
    const Text page = random_page(random);
    for (const Text& pattern : patterns) {
      ASSERT_EQ(find_friend_links(page, pattern), reference_links(page, pattern))
          << "pattern " << pattern << "\npage " << page;
    }
  }
}

TEST(FindFriendLinks, MatchesWithoutOverlapAndKeepsThoseFoundBeforeAnError) {
  const Text pattern = taobao_link_pattern("taobao.com");
  const Text two =
      taobao_anchor("http://a.taobao.com", "A") + taobao_anchor("http://b.taobao.com", "B</a>");
  EXPECT_EQ(find_friend_links(two, pattern),
            (std::vector<FriendLink>{{"http://a.taobao.com", "A"}, {"http://b.taobao.com", "B"}}));

  // Thousands of "http://" with no end in sight make the matcher give up.
  Text pathological = taobao_anchor("http://a.taobao.com", "A");
  for (int i = 0; i < 10000; ++i) {
    pathological += "http://x";
  }
  pathological += ".taobao.com\"  target=\"_blank\">" + Text(10000, 'y');
  EXPECT_EQ(find_friend_links(pathological, pattern),
            (std::vector<FriendLink>{{"http://a.taobao.com", "A"}}));

  EXPECT_TRUE(find_friend_links(two, "(unbalanced").empty());
  EXPECT_TRUE(find_friend_links(two, "(x*)(y*)").empty()) << "empty matches are no links";
}

}  // namespace
}  // namespace shop
