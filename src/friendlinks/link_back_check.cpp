#include "friendlinks/link_back_check.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

#include "friendlinks/friend_links.h"
#include "web/system_texts.h"

namespace shop {
namespace {

struct CheckRun {
  const std::vector<Text>& addresses;
  const Text& wanted;
  LinkBackObserver& observer;
  std::atomic<std::size_t> next_row{0};

  void check(int row) {
    observer.row_started(row);
    LinkBack result = LinkBack::failed;
    try {
      PageRequest request;
      request.address = addresses[static_cast<std::size_t>(row)];
      result = link_back_of(fetch_page_with_status(request), wanted);
    } catch (...) {
      // No memory for the page: the page could not be fetched.
    }
    observer.row_finished(row, result);
  }

  // One fetching thread: takes the next row not yet taken until none is left.
  void take_rows() {
    for (std::size_t row = next_row++; row < addresses.size(); row = next_row++) {
      try {
        check(static_cast<int>(row));
      } catch (...) {
        // An observer that failed: the other rows go on.
      }
    }
  }
};

}  // namespace

LinkBack link_back_of(const FetchedPage& page, const Text& link_back_address) {
  if (page.body.empty() || page.status >= 400) {
    return LinkBack::failed;
  }
  return links_back(body_to_text(page.body), link_back_address) ? LinkBack::linked
                                                                : LinkBack::not_linked;
}

const char* link_back_mark(LinkBack result) {
  switch (result) {
    case LinkBack::linked:
      return kStatusLinked;
    case LinkBack::not_linked:
      return kStatusNotLinked;
    case LinkBack::failed:
      break;
  }
  return kStatusFetchFailed;
}

void check_friend_pages(const std::vector<Text>& friend_addresses, const Text& link_back_address,
                        LinkBackObserver& observer, int threads) {
  CheckRun run{friend_addresses, link_back_address, observer};
  const std::size_t wanted_threads =
      std::min(friend_addresses.size(), static_cast<std::size_t>(std::max(threads, 1)));
  std::vector<std::thread> helpers;
  for (std::size_t i = 1; i < wanted_threads; ++i) {
    try {
      helpers.emplace_back([&run] { run.take_rows(); });
    } catch (const std::system_error&) {
      break;  // fewer threads: the rows are shared among those there are
    }
  }
  run.take_rows();  // this thread fetches too
  for (std::thread& helper : helpers) {
    helper.join();
  }
}

}  // namespace shop
