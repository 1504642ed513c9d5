#include "friendlinks/friend_links.h"

#include <boost/regex.hpp>
#include <cstring>
#include <exception>

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

}  // namespace

Text paipai_link_pattern(const Text& shop_host) {
  return "<a href=\"(http://" + literal_pattern(shop_host, true) +
         "/[0-9]*)\" target=\"_blank\">(.*?)</a>";
}

Text taobao_link_pattern(const Text& domain) {
  return "(http://.*?\\." + literal_pattern(domain, false) + ")\"  target=\"_blank\">(.*?)</a>";
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
    for (boost::sregex_iterator match(text.begin(), text.end(), expression), end; match != end;
         ++match) {
      links.push_back({(*match)[1].str(), (*match)[2].str()});
    }
  } catch (const std::exception&) {
  }
  return links;
}

std::vector<FriendLink> extract_friend_links(const Text& page, const Text& shop_address,
                                             const FriendLinkSites& sites) {
  Text block = page;
  Text pattern;
  if (names_site(shop_address, sites.paipai_domain)) {
    block = text_between(block, kPaipaiBlockStart, kPaipaiBlockEnd, 1);
    pattern = paipai_link_pattern(sites.paipai_shop_host);
  }
  if (names_site(shop_address, sites.taobao_domain)) {
    block = text_between(block, kTaobaoBlockStart, kTaobaoBlockEnd, 1);
    pattern = taobao_link_pattern(sites.taobao_domain);
  }
  if (pattern.empty()) {
    return {};
  }
  return find_friend_links(block, pattern);
}

Text link_back_address(const Text& shop_address) {
  return text_right(shop_address, 1) == "/" ? text_before(shop_address, "/") : shop_address;
}

bool links_back(const Text& friend_page, const Text& link_back_address) {
  // An empty address (the shop typed as "/") would be "found" in every page.
  return !link_back_address.empty() && find_text(friend_page, link_back_address) != -1;
}

}  // namespace shop
