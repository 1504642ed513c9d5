#include "ranking/search_scan.h"

#include <string.h>

#include <algorithm>
#include <boost/regex.hpp>
#include <limits>
#include <string>

namespace shop {
namespace {

// Characters with a meaning of their own at the top of a Perl-syntax pattern.
constexpr std::string_view kSpecialCharacters = "\\^$.|?*+()[]{}";
constexpr std::string_view kQuantifiers = "?*+{";

size_t find_bytes(std::string_view text, std::string_view part, size_t from) {
  if (from > text.size()) {
    return std::string_view::npos;
  }
  const void* hit = memmem(text.data() + from, text.size() - from, part.data(), part.size());
  return hit == nullptr ? std::string_view::npos
                        : static_cast<size_t>(static_cast<const char*>(hit) - text.data());
}

using Iterator = std::string_view::const_iterator;

std::string_view sub_match_1(std::string_view text, const boost::match_results<Iterator>& match) {
  const auto& code = match[1];
  if (!code.matched) {
    return {};
  }
  return text.substr(static_cast<size_t>(code.first - text.begin()),
                     static_cast<size_t>(code.length()));
}

// Tries the pattern only where the prefix occurs, anchored there: a match of the
// whole-text search would begin at this very candidate when none begins before it.
int scan_at_prefixes(std::string_view text, const boost::regex& pattern, std::string_view prefix,
                     const ListingVisitor& visit) {
  int number = 0;
  boost::match_results<Iterator> match;
  for (size_t at = find_bytes(text, prefix, 0); at != std::string_view::npos;) {
    const auto flags =
        boost::match_continuous | (at > 0 ? boost::match_prev_avail : boost::match_default);
    if (!boost::regex_search(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), match,
                             pattern, flags)) {
      at = find_bytes(text, prefix, at + 1);
      continue;
    }
    ++number;
    if (visit(sub_match_1(text, match))) {
      return number;
    }
    at = find_bytes(text, prefix, static_cast<size_t>(match[0].second - text.begin()));
  }
  return 0;
}

int scan_whole_text(std::string_view text, const boost::regex& pattern,
                    const ListingVisitor& visit) {
  int number = 0;
  for (boost::regex_iterator<Iterator> it(text.begin(), text.end(), pattern), end; it != end;
       ++it) {
    ++number;
    if (visit(sub_match_1(text, *it))) {
      return number;
    }
  }
  return 0;
}

// The listing whose code equals the key; an empty key never names a listing.
ListingVisitor equal_to(const Text& item_key) {
  return [&item_key](std::string_view code) { return code == item_key; };
}

Text piece(const std::vector<Text>& parts, size_t index) {
  return index < parts.size() ? parts[index] : Text();
}

}  // namespace

struct ListingPattern::Compiled {
  Text text;
  boost::regex regex;
  Text prefix;
};

ListingPattern::ListingPattern(std::string_view pattern)
    : compiled_(std::make_shared<const Compiled>(
          Compiled{Text(pattern), boost::regex(pattern.begin(), pattern.end(), boost::regex::perl),
                   fixed_prefix_of(pattern)})) {}

const Text& ListingPattern::text() const {
  return compiled_->text;
}

unsigned ListingPattern::sub_matches() const {
  return static_cast<unsigned>(compiled_->regex.mark_count());
}

const Text& ListingPattern::fixed_prefix() const {
  return compiled_->prefix;
}

int ListingPattern::scan(std::string_view text, const ListingVisitor& visit) const {
  try {
    return compiled_->prefix.empty()
               ? scan_whole_text(text, compiled_->regex, visit)
               : scan_at_prefixes(text, compiled_->regex, compiled_->prefix, visit);
  } catch (const std::exception&) {
    // Pathological input: the listings found so far did not hold the item.
    return 0;
  }
}

Text fixed_prefix_of(std::string_view pattern) {
  if (pattern.find('|') != std::string_view::npos) {
    return {};
  }
  const size_t end = std::min(pattern.find_first_of(kSpecialCharacters), pattern.size());
  Text prefix(pattern.substr(0, end));
  if (end < pattern.size() && kQuantifiers.find(pattern[end]) != std::string_view::npos &&
      !prefix.empty()) {
    prefix.pop_back();  // made optional or repeated by the quantifier
  }
  return prefix;
}

const ScanRules& default_scan_rules() {
  static const ScanRules rules;
  return rules;
}

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
  return taobao_search_address(parts, keyword, page, sort_parameter, default_scan_rules());
}

Text taobao_search_address(const std::vector<Text>& parts, const Text& keyword, std::int64_t page,
                           const Text& sort_parameter, const ScanRules& rules) {
  return piece(parts, 3) + url_encode(keyword) + piece(parts, 4) +
         std::to_string((page - 1) * rules.taobao_items_per_page) + sort_parameter;
}

std::vector<Text> paipai_item_code_candidates(const Text& address) {
  return paipai_item_code_candidates(address, default_scan_rules());
}

std::vector<Text> paipai_item_code_candidates(const Text& address, const ScanRules& rules) {
  std::vector<Text> codes;
  rules.paipai_item_code.scan(address, [&codes](std::string_view code) {
    codes.emplace_back(code);
    return false;
  });
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
  return taobao_result_block(page, default_scan_rules());
}

Text taobao_result_block(const Text& page, const ScanRules& rules) {
  return text_between(page, rules.taobao_block_start, rules.taobao_block_end, 0);
}

int scan_paipai_listings(std::string_view page, const ListingVisitor& visit) {
  return default_scan_rules().paipai_listing.scan(page, visit);
}

int scan_taobao_listings(std::string_view result_block, const ListingVisitor& visit) {
  return default_scan_rules().taobao_listing.scan(result_block, visit);
}

int paipai_listing_place(const Text& page, const Text& item_key) {
  return paipai_listing_place(page, item_key, default_scan_rules());
}

int taobao_listing_place(const Text& page, const Text& item_key) {
  return taobao_listing_place(page, item_key, default_scan_rules());
}

int paipai_listing_place(const Text& page, const Text& item_key, const ScanRules& rules) {
  return item_key.empty() ? 0 : rules.paipai_listing.scan(page, equal_to(item_key));
}

int taobao_listing_place(const Text& page, const Text& item_key, const ScanRules& rules) {
  return item_key.empty()
             ? 0
             : rules.taobao_listing.scan(taobao_result_block(page, rules), equal_to(item_key));
}

Text place_text(std::int64_t page, int place) {
  return std::to_string(page) + kFoundPageWord + std::to_string(place) + kFoundPlaceWord;
}

Text not_within_text(const Text& page_count_text) {
  return kNotWithinPrefix + page_count_text + kNotWithinSuffix;
}

}  // namespace shop
