#pragma once
// The pure pieces of the marketplace search scans: search addresses, the item keys
// taken from item addresses, the listings of a result page, and the texts written
// into a row.

#include <cstdint>
#include <functional>
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

// Call `visit` with sub-match 1 of each listing, in order, until it returns true;
// return the 1-based number of that listing, or 0. Only the places where the
// pattern's fixed beginning occurs are tried, which gives the same matches as a
// search over the whole text at a fraction of the cost. A search that fails on
// pathological input ends the scan there.
using ListingVisitor = std::function<bool(std::string_view code)>;
int scan_paipai_listings(std::string_view page, const ListingVisitor& visit);
int scan_taobao_listings(std::string_view result_block, const ListingVisitor& visit);

// The 1-based place of the listing whose code equals `item_key` on a result page,
// or 0 when the item is not listed (an empty key is never listed).
int paipai_listing_place(const Text& page, const Text& item_key);
int taobao_listing_place(const Text& page, const Text& item_key);

// "P页第K个": the position of a found item.
Text place_text(std::int64_t page, int place);
// "不在N页内", with the page count box's text as it stands.
Text not_within_text(const Text& page_count_text);

}  // namespace shop
