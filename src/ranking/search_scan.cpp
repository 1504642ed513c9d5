#include "ranking/search_scan.h"

#include <string.h>

#include <boost/regex.hpp>
#include <limits>
#include <string>

namespace shop {
namespace {

// The fixed text each listing pattern begins with, up to its first special
// character; every match starts where it occurs.
constexpr std::string_view kPaipaiListingPrefix = R"re(photo" onmouseover="PP)re";
constexpr std::string_view kTaobaoListingPrefix = R"re(nid":")re";

const Text kBlockStart = "dynamic:";
const Text kBlockEnd = "}}";

size_t find_bytes(std::string_view text, std::string_view part, size_t from) {
  if (from > text.size()) {
    return std::string_view::npos;
  }
  const void* hit = memmem(text.data() + from, text.size() - from, part.data(), part.size());
  return hit == nullptr ? std::string_view::npos
                        : static_cast<size_t>(static_cast<const char*>(hit) - text.data());
}

int scan_with(std::string_view text, const boost::regex& pattern, std::string_view prefix,
              const ListingVisitor& visit) {
  using Iterator = std::string_view::const_iterator;
  int number = 0;
  size_t from = 0;
  try {
    boost::match_results<Iterator> match;
    for (size_t at = find_bytes(text, prefix, from); at != std::string_view::npos;
         at = find_bytes(text, prefix, from)) {
      // Anchored here: a match of the whole-text search would begin at this very
      // candidate when none begins before it.
      if (!boost::regex_search(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), match,
                               pattern, boost::match_continuous)) {
        from = at + 1;
        continue;
      }
      ++number;
      const auto& code = match[1];
      const size_t code_at = static_cast<size_t>(code.first - text.begin());
      if (visit(text.substr(code_at, static_cast<size_t>(code.length())))) {
        return number;
      }
      from = static_cast<size_t>(match[0].second - text.begin());
    }
  } catch (const std::exception&) {
    // Pathological input: the listings found so far did not hold the item.
  }
  return 0;
}

const boost::regex& paipai_listing_regex() {
  thread_local const boost::regex pattern{std::string(kPaipaiListingPattern)};
  return pattern;
}

const boost::regex& taobao_listing_regex() {
  thread_local const boost::regex pattern{std::string(kTaobaoListingPattern)};
  return pattern;
}

// The listing whose code equals the key; an empty key never names a listing.
ListingVisitor equal_to(const Text& item_key) {
  return [&item_key](std::string_view code) { return code == item_key; };
}

Text piece(const std::vector<Text>& parts, size_t index) {
  return index < parts.size() ? parts[index] : Text();
}

}  // namespace

std::int32_t parse_page_count(const Text& text) {
  size_t at = text.find_first_not_of(' ');
  std::int64_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) {
      return std::numeric_limits<std::int32_t>::max();
    }
  }
  return static_cast<std::int32_t>(value);
}

Text paipai_search_address(const std::vector<Text>& parts, const Text& keyword,
                           const Text& sort_code, std::int64_t page) {
  return piece(parts, 0) + url_encode(keyword) + piece(parts, 1) + sort_code + piece(parts, 2) +
         std::to_string(page);
}

Text taobao_search_address(const std::vector<Text>& parts, const Text& keyword, std::int64_t page,
                           const Text& sort_parameter) {
  return piece(parts, 3) + url_encode(keyword) + piece(parts, 4) + std::to_string((page - 1) * 40) +
         sort_parameter;
}

std::vector<Text> paipai_item_code_candidates(const Text& address) {
  std::vector<Text> codes;
  try {
    const boost::regex pattern{std::string(kPaipaiItemCodePattern)};
    for (boost::sregex_iterator it(address.begin(), address.end(), pattern), end; it != end; ++it) {
      codes.push_back((*it)[1].str());
    }
  } catch (const std::exception&) {
    // Keeps the codes found before the failure.
  }
  return codes;
}

Text query_value(const Text& address, const Text& key) {
  const int mark = find_text_reverse(address, "?");
  if (mark == -1) {
    return {};
  }
  const Text query = address.substr(static_cast<size_t>(mark));
  for (const Text& pair : split_text(query, "&")) {
    const std::vector<Text> parts = split_text(pair, "=");
    if (parts.size() == 2 && parts[0] == key) {
      return parts[1];
    }
  }
  return {};
}

Text taobao_result_block(const Text& page) {
  return text_between(page, kBlockStart, kBlockEnd, 0);
}

int scan_paipai_listings(std::string_view page, const ListingVisitor& visit) {
  return scan_with(page, paipai_listing_regex(), kPaipaiListingPrefix, visit);
}

int scan_taobao_listings(std::string_view result_block, const ListingVisitor& visit) {
  return scan_with(result_block, taobao_listing_regex(), kTaobaoListingPrefix, visit);
}

int paipai_listing_place(const Text& page, const Text& item_key) {
  return item_key.empty() ? 0 : scan_paipai_listings(page, equal_to(item_key));
}

int taobao_listing_place(const Text& page, const Text& item_key) {
  return item_key.empty() ? 0 : scan_taobao_listings(taobao_result_block(page), equal_to(item_key));
}

Text place_text(std::int64_t page, int place) {
  return std::to_string(page) + kFoundPageWord + std::to_string(place) + kFoundPlaceWord;
}

Text not_within_text(const Text& page_count_text) {
  return kNotWithinPrefix + page_count_text + kNotWithinSuffix;
}

}  // namespace shop
