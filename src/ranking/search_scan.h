#pragma once
// The pure pieces of the marketplace search scans: search addresses, the item keys
// taken from item addresses, the listings of a result page, and the texts written
// into a row.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "web/system_texts.h"
#include "web/text.h"

namespace shop {

// A Paipai result listing; sub-match 1 is the listed item's code.
inline constexpr std::string_view kPaipaiListingPattern =
    R"re(photo" onmouseover="PP.goodsListProcess.zoomImg\(this,'([A-Z0-9]+)',')re";
// A Taobao listing inside the result block; sub-match 1 is the item id.
inline constexpr std::string_view kTaobaoListingPattern = R"re(nid":"(.*?)")re";
// The Paipai item code inside an item address.
inline constexpr std::string_view kPaipaiItemCodePattern = "([A-Z0-9]{32})";

// The text of the page count box as a number: leading spaces skipped, decimal
// digits up to the first other character, 0 when there are none. Values beyond the
// 32-bit range are held at its maximum.
std::int32_t parse_page_count(const Text& text);

// Pieces 0-2 of `parts` around the encoded keyword, the sort code and the page.
Text paipai_search_address(const std::vector<Text>& parts, const Text& keyword,
                           const Text& sort_code, std::int64_t page);
// Pieces 3-4 around the encoded keyword and the item offset of the page (40 items
// to a page), followed by the sort parameter.
Text taobao_search_address(const std::vector<Text>& parts, const Text& keyword, std::int64_t page,
                           const Text& sort_parameter);

// Every run of 32 capitals or digits in the address, in order (non-overlapping).
std::vector<Text> paipai_item_code_candidates(const Text& address);
// The value of `key` in the query after the last "?" of the address, or empty.
Text query_value(const Text& address, const Text& key);

// The part of a Taobao result page between the first "dynamic:" and the last "}}".
Text taobao_result_block(const Text& page);

// Called with sub-match 1 of each listing, in order; returns true to stop there.
using ListingVisitor = std::function<bool(std::string_view code)>;

// A regular expression for listings (Perl syntax, case-sensitive), compiled once.
// Copies share the compiled form, which any number of threads may use at once.
class ListingPattern {
 public:
  // Throws std::runtime_error when the pattern does not compile.
  explicit ListingPattern(std::string_view pattern);

  const Text& text() const;
  // The number of parenthesised sub-matches of the pattern.
  unsigned sub_matches() const;
  // The literal text every match begins with; empty when it has none to offer.
  const Text& fixed_prefix() const;

  // Calls `visit` with sub-match 1 of each non-overlapping match, from the start,
  // until it returns true; returns the 1-based number of that match, or 0. With a
  // fixed prefix only the places where the prefix occurs are tried, which finds the
  // same matches as a search over the whole text at a fraction of the cost; without
  // one the whole text is searched. A search that fails on pathological input ends
  // the scan there.
  int scan(std::string_view text, const ListingVisitor& visit) const;

 private:
  struct Compiled;
  std::shared_ptr<const Compiled> compiled_;
};

// The literal text at the start of a pattern that every match must begin with:
// the characters before the first one with a special meaning, less the last when a
// quantifier follows it. Empty for a pattern with an alternation anywhere.
Text fixed_prefix_of(std::string_view pattern);

// What the scans look for in result pages and item addresses.
struct ScanRules {
  ListingPattern paipai_listing{kPaipaiListingPattern};
  ListingPattern paipai_item_code{kPaipaiItemCodePattern};
  // The Taobao result block: from the first start marker to the last end marker.
  Text taobao_block_start = "dynamic:";
  Text taobao_block_end = "}}";
  ListingPattern taobao_listing{kTaobaoListingPattern};
  std::int64_t taobao_items_per_page = 40;  // the offset step between result pages
};
// The rules above, compiled once for the process.
const ScanRules& default_scan_rules();

// Each function below without a ScanRules uses the default rules.
std::vector<Text> paipai_item_code_candidates(const Text& address, const ScanRules& rules);
Text taobao_search_address(const std::vector<Text>& parts, const Text& keyword, std::int64_t page,
                           const Text& sort_parameter, const ScanRules& rules);
Text taobao_result_block(const Text& page, const ScanRules& rules);

int scan_paipai_listings(std::string_view page, const ListingVisitor& visit);
int scan_taobao_listings(std::string_view result_block, const ListingVisitor& visit);

// The 1-based place of the listing whose code equals `item_key` on a result page,
// or 0 when the item is not listed (an empty key is never listed).
int paipai_listing_place(const Text& page, const Text& item_key);
int taobao_listing_place(const Text& page, const Text& item_key);
int paipai_listing_place(const Text& page, const Text& item_key, const ScanRules& rules);
int taobao_listing_place(const Text& page, const Text& item_key, const ScanRules& rules);

// "P页第K个": the position of a found item.
Text place_text(std::int64_t page, int place);
// "不在N页内", with the page count box's text as it stands.
Text not_within_text(const Text& page_count_text);

}  // namespace shop
