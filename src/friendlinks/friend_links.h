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

// Every non-overlapping match of `pattern` in `text` from the start, compiled with
// Perl syntax and ignoring ASCII letter case. A pattern that does not compile gives
// nothing; a matching error ends the search and keeps the links found before it.
std::vector<FriendLink> find_friend_links(const Text& text, const Text& pattern);

// The links of a shop page: the block cut and the pattern chosen by the domain
// names found in the shop address (case-sensitive). An address with both domains
// has the Taobao cut applied to the Paipai block and is matched by the Taobao
// pattern; one with neither gives nothing.
std::vector<FriendLink> extract_friend_links(const Text& page, const Text& shop_address,
                                             const FriendLinkSites& sites);

// What a friend's page must contain to link back: the shop address less one
// trailing slash.
Text link_back_address(const Text& shop_address);
bool links_back(const Text& friend_page, const Text& link_back_address);

}  // namespace shop
