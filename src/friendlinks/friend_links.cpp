#include "friendlinks/friend_links.h"

#include <boost/regex.hpp>
#include <cstring>
#include <exception>
#include <optional>
#include <string_view>

#include "friendlinks/pattern_literals.h"
#include "web/system_texts.h"

namespace shop {

const Text kPaipaiBlockStart = "<div class=\"pfhlkd_link\">";
const Text kPaipaiBlockEnd = "</div>";
const Text kTaobaoBlockStart = kTaobaoFriendBlockStart;
const Text kTaobaoBlockEnd = "\n</div>\n</div>";

namespace {

// A host name taken into a pattern as literal text; with `dots_match_any` its dots
// stay unescaped and match any byte.
Text literal_pattern(const Text& name, bool dots_match_any) {
  static constexpr const char* kSpecial = "\\^$.|?*+()[]{}";
  Text pattern;
  for (const char c : name) {
    if (c != '\0' && std::strchr(kSpecial, c) != nullptr && !(c == '.' && dots_match_any)) {
      pattern += '\\';
    }
    pattern += c;
  }
  return pattern;
}

// Case-sensitive; an empty domain name (a blank setting) names no site.
bool names_site(const Text& address, const Text& domain) {
  return !domain.empty() && find_text(address, domain) != -1;
}

FriendLink link_of(const boost::smatch& match) {
  return {match[1].str(), match[2].str()};
}

// An empty match is no link: a configured pattern that matches the empty text
// would otherwise list one link for every byte of the block.
void search_everywhere(const Text& text, const boost::regex& expression,
                       std::vector<FriendLink>& links) {
  const boost::sregex_iterator end;
  for (boost::sregex_iterator match(text.begin(), text.end(), expression, boost::match_not_null);
       match != end; ++match) {
    links.push_back(link_of(*match));
  }
}

// Tries the pattern only where its fixed beginning occurs, anchored there: a match
// of the search over the whole text begins at the first such place where the
// pattern matches. Once the pattern's later fixed texts no longer follow, no match
// can begin there or anywhere after.
void search_at_anchors(const Text& text, const boost::regex& expression,
                       const PatternLiterals& literals, std::vector<FriendLink>& links) {
  const std::string_view view(text);
  const LiteralFinder prefix(literals.prefix, true);
  OrderedLiteralsCheck rest(literals.ordered, true);
  boost::smatch match;
  for (std::size_t at = prefix.find(view, 0); at != std::string_view::npos;) {
    if (!rest.follow(view, at + prefix.size())) {
      return;
    }
    const auto flags =
        at == 0 ? boost::match_continuous : boost::match_continuous | boost::match_prev_avail;
    const auto start = text.begin() + static_cast<std::ptrdiff_t>(at);
    if (boost::regex_search(start, text.end(), match, expression, flags)) {
      links.push_back(link_of(match));
      at = prefix.find(view, static_cast<std::size_t>(match[0].second - text.begin()));
    } else {
      at = prefix.find(view, at + 1);
    }
  }
}

}  // namespace

Text paipai_link_pattern(const Text& shop_host) {
  return "<a href=\"(http://" + literal_pattern(shop_host, true) +
         "/[0-9]*)\" target=\"_blank\">(.*?)</a>";
}

Text taobao_link_pattern(const Text& domain) {
  return "(http://.*?\\." + literal_pattern(domain, false) + ")\"  target=\"_blank\">(.*?)</a>";
}

FriendLinkRules default_friend_link_rules(const FriendLinkSites& sites) {
  FriendLinkRules rules;
  rules.paipai_link_pattern = paipai_link_pattern(sites.paipai_shop_host);
  rules.taobao_link_pattern = taobao_link_pattern(sites.taobao_domain);
  return rules;
}

std::vector<FriendLink> find_friend_links(const Text& text, const Text& pattern) {
  std::vector<FriendLink> links;
  if (text.empty()) {
    return links;
  }
  // Boost.Regex throws on patterns it cannot compile and, at match time, on input
  // that would take too long: both end the search with what was found so far.
  try {
    const boost::regex expression(pattern, boost::regex::perl | boost::regex::icase);
    const std::optional<PatternLiterals> literals = pattern_literals(pattern);
    if (literals) {
      search_at_anchors(text, expression, *literals, links);
    } else {
      search_everywhere(text, expression, links);
    }
  } catch (const std::exception&) {
  }
  return links;
}

std::vector<FriendLink> extract_friend_links(const Text& page, const Text& shop_address,
                                             const FriendLinkSites& sites,
                                             const FriendLinkRules& rules) {
  Text block = page;
  const Text* pattern = nullptr;
  if (names_site(shop_address, sites.paipai_domain)) {
    block = text_between(block, rules.paipai_block_start, rules.paipai_block_end, 1);
    pattern = &rules.paipai_link_pattern;
  }
  if (names_site(shop_address, sites.taobao_domain)) {
    block = text_between(block, rules.taobao_block_start, rules.taobao_block_end, 1);
    pattern = &rules.taobao_link_pattern;
  }
  if (pattern == nullptr || pattern->empty()) {
    return {};
  }
  return find_friend_links(block, *pattern);
}

std::vector<FriendLink> extract_friend_links(const Text& page, const Text& shop_address,
                                             const FriendLinkSites& sites) {
  return extract_friend_links(page, shop_address, sites, default_friend_link_rules(sites));
}

Text link_back_address(const Text& shop_address) {
  return text_right(shop_address, 1) == "/" ? text_before(shop_address, "/") : shop_address;
}

bool links_back(const Text& friend_page, const Text& link_back_address) {
  // An empty address (the shop typed as "/") would be "found" in every page.
  return !link_back_address.empty() && find_text(friend_page, link_back_address) != -1;
}

}  // namespace shop
