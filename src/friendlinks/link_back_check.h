#pragma once
// The second phase of the friend-link check: fetching each friend's page and
// telling whether it links back to the shop, several pages at a time.

#include <vector>

#include "web/page_fetch.h"
#include "web/text.h"

namespace shop {

enum class LinkBack { linked, not_linked, failed };

// A page that came with no body or with an HTTP error status could not be
// fetched; otherwise it links back when it holds the address.
LinkBack link_back_of(const FetchedPage& page, const Text& link_back_address);
// The status mark of a row: "√", "×" or "失败".
const char* link_back_mark(LinkBack result);

// Told about each row of a check, from the fetching threads (several at once).
class LinkBackObserver {
 public:
  virtual ~LinkBackObserver() = default;
  virtual void row_started(int /*row*/) {}
  virtual void row_finished(int /*row*/, LinkBack /*result*/) {}
};

inline constexpr int kFriendPagesAtOnce = 10;

// Fetches the page of every friend address, up to `threads` at a time, starting
// the rows in list order, and returns once every row has finished. Each row's
// result is what fetching that page alone would give.
void check_friend_pages(const std::vector<Text>& friend_addresses, const Text& link_back_address,
                        LinkBackObserver& observer, int threads = kFriendPagesAtOnce);

}  // namespace shop
