// Friend-link extraction: for both marketplaces' link patterns, the links found in a
// block are exactly those of a plain search of the pattern over the whole block;
// extracting from a whole page never fails.
#include <fuzzer/FuzzedDataProvider.h>

#include <boost/regex.hpp>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "friendlinks/friend_links.h"
#include "fuzz_check.h"

namespace {

using shop::FriendLink;
using shop::Text;

std::optional<std::vector<FriendLink>> plain_search(const Text& text, const Text& pattern) {
  std::vector<FriendLink> links;
  try {
    const boost::regex expression(pattern, boost::regex::perl | boost::regex::icase);
    for (boost::sregex_iterator match(text.begin(), text.end(), expression), end; match != end;
         ++match) {
      links.push_back({(*match)[1].str(), (*match)[2].str()});
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return links;
}

bool same_links(const std::vector<FriendLink>& a, const std::vector<FriendLink>& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].address != b[i].address || a[i].name != b[i].name) {
      return false;
    }
  }
  return true;
}

// Pieces of real blocks, so that the input reaches the patterns' insides.
Text block_of_pieces(FuzzedDataProvider& input) {
  static const Text kPieces[] = {"<a href=\"",
                                 "http://",
                                 "shop.paipai.com/",
                                 "taobao.com",
                                 ".taobao.com\"",
                                 "\"  target=\"_blank\">",
                                 "\" target=\"_blank\">",
                                 "</a>",
                                 "<li>",
                                 shop::kTaobaoBlockStart,
                                 shop::kTaobaoBlockEnd,
                                 shop::kPaipaiBlockStart,
                                 shop::kPaipaiBlockEnd};
  Text block;
  while (input.remaining_bytes() > 0) {
    if (input.ConsumeBool()) {
      block += kPieces[input.ConsumeIntegralInRange<size_t>(0, std::size(kPieces) - 1)];
    } else {
      block += input.ConsumeRandomLengthString(12);
    }
  }
  return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool taobao_address = input.ConsumeBool();
  const bool paipai_address = input.ConsumeBool();
  const Text block = block_of_pieces(input);
  const shop::FriendLinkSites sites{"paipai.com", "shop.paipai.com", "taobao.com"};

  for (const Text& pattern : {shop::paipai_link_pattern(sites.paipai_shop_host),
                              shop::taobao_link_pattern(sites.taobao_domain)}) {
    if (const auto expected = plain_search(block, pattern)) {
      FUZZ_CHECK(same_links(shop::find_friend_links(block, pattern), *expected));
    }
  }
  const Text address = Text("http://shop1.") + (taobao_address ? "taobao.com/" : "") +
                       (paipai_address ? "paipai.com/" : "");
  shop::extract_friend_links(block, address, sites);
  return 0;
}
