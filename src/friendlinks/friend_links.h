#pragma once
// The friend-link block of a shop page: cutting it out per marketplace, the links
// it holds, and the test whether a friend's page links back to the shop.

#include <vector>

#include "web/text.h"

namespace shop {

// The marketplace names the check works with (from the settings).
struct FriendLinkSites {
  Text paipai_domain;     // tells a Paipai shop address
  Text paipai_shop_host;  // host of the shops in a Paipai block
  Text taobao_domain;     // tells a Taobao shop address; domain of Taobao friend links
};

struct FriendLink {
  Text address;  // capture group 1
  Text name;     // capture group 2: the link text, markup included
};

// "<span>友情链接</span>", and the end of a Taobao block: LF "</div>" LF "</div>".
extern const Text kTaobaoBlockStart;
extern const Text kTaobaoBlockEnd;
extern const Text kPaipaiBlockStart;
extern const Text kPaipaiBlockEnd;

// The link patterns. In the Paipai one the dots of the host match any byte; the
// Taobao one matches the domain's dots literally.
Text paipai_link_pattern(const Text& shop_host);
Text taobao_link_pattern(const Text& domain);

// Where a shop page keeps its friend links and what a link there looks like, per
// marketplace. In a link pattern capture group 1 is the friend's address and group
// 2 the link text. The defaults are the markers above; the patterns depend on the
// site names, see default_friend_link_rules.
struct FriendLinkRules {
  Text paipai_block_start = kPaipaiBlockStart;
  Text paipai_block_end = kPaipaiBlockEnd;
  Text paipai_link_pattern;
  Text taobao_block_start = kTaobaoBlockStart;
  Text taobao_block_end = kTaobaoBlockEnd;
  Text taobao_link_pattern;
};

// The default markers with the link patterns built from the site names.
FriendLinkRules default_friend_link_rules(const FriendLinkSites& sites);

// Every non-overlapping match of `pattern` in `text` from the start, compiled with
// Perl syntax and ignoring ASCII letter case. A pattern that does not compile gives
// nothing; a matching error ends the search and keeps the links found before it.
// When the pattern begins with fixed text, the pattern is tried only where that
// text occurs, and only while the rest of its fixed texts still follow: the same
// links as a search over the whole text, without its cost on hostile blocks.
std::vector<FriendLink> find_friend_links(const Text& text, const Text& pattern);

// The links of a shop page: the block cut and the pattern chosen by the domain
// names found in the shop address (case-sensitive). An address with both domains
// has the Taobao cut applied to the Paipai block and is matched by the Taobao
// pattern; one with neither gives nothing.
std::vector<FriendLink> extract_friend_links(const Text& page, const Text& shop_address,
                                             const FriendLinkSites& sites,
                                             const FriendLinkRules& rules);
// The same with default_friend_link_rules(sites).
std::vector<FriendLink> extract_friend_links(const Text& page, const Text& shop_address,
                                             const FriendLinkSites& sites);

// What a friend's page must contain to link back: the shop address less one
// trailing slash.
Text link_back_address(const Text& shop_address);
bool links_back(const Text& friend_page, const Text& link_back_address);

}  // namespace shop
