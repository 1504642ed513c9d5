// The two listing scans, which try the pattern only where its fixed beginning
// occurs, against a plain search of the pattern over the whole page: the same
// listings in the same order, and the place of the one the visitor stops at.
#include <fuzzer/FuzzedDataProvider.h>

#include <boost/regex.hpp>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "ranking/search_scan.h"

namespace {

using Codes = std::vector<std::string>;

// Every sub-match 1 of the pattern over the whole text; nothing when Boost.Regex
// gives up on the input.
std::optional<Codes> plain_search(const std::string& text, std::string_view pattern) {
  Codes codes;
  try {
    const boost::regex expression{std::string(pattern)};
    for (boost::sregex_iterator match(text.begin(), text.end(), expression), end; match != end;
         ++match) {
      codes.push_back((*match)[1].str());
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return codes;
}

template <class Scan>
void check_scan(Scan scan, const std::string& page, std::string_view pattern) {
  const std::optional<Codes> expected = plain_search(page, pattern);
  if (!expected) {
    return;
  }
  Codes seen;
  FUZZ_CHECK(scan(page, [&](std::string_view code) {
               seen.emplace_back(code);
               return false;
             }) == 0);
  FUZZ_CHECK(seen == *expected);
  if (!expected->empty()) {
    const size_t stop = expected->size() - 1;
    size_t visited = 0;
    FUZZ_CHECK(scan(page, [&](std::string_view) { return visited++ == stop; }) ==
               static_cast<int>(stop) + 1);
  }
}

// Fuzz input tends to miss the long fixed beginnings: put them in now and then.
std::string with_prefixes(FuzzedDataProvider& input) {
  static const std::string kPieces[] = {R"(photo" onmouseover="PP.goodsListProcess.zoomImg(this,')",
                                        "',", R"(nid":")", "\"", "ABC123"};
  std::string page;
  while (input.remaining_bytes() > 0) {
    if (input.ConsumeBool()) {
      page += kPieces[input.ConsumeIntegralInRange<size_t>(0, std::size(kPieces) - 1)];
    } else {
      page += input.ConsumeRandomLengthString(16);
    }
  }
  return page;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string page = with_prefixes(input);
  check_scan(shop::scan_paipai_listings, page, shop::kPaipaiListingPattern);
  check_scan(shop::scan_taobao_listings, page, shop::kTaobaoListingPattern);
  return 0;
}
