// Speed of the marketplace scans over 1 MiB result pages, the item absent so that
// every listing is looked at. The plain Boost.Regex iterations are the reference.

#include <benchmark/benchmark.h>

#include "bench_main.h"

#include <boost/regex.hpp>
#include <cstdio>
#include <string>

#include "ranking/search_scan.h"

namespace {

using shop::Text;

constexpr size_t kPageBytes = size_t{1} << 20;
const Text kDress = "\xC1\xAC\xD2\xC2\xC8\xB9";  // 连衣裙
const Text kAbsent = "ABSENTABSENTABSENTABSENTABSENT00";

Text code_of(int row) {
  Text code = std::to_string(9723820700000000LL + row * 7919LL) + "040100000C465B4E";
  return code.substr(0, 32);
}

// About 1,300 listings of Paipai markup: pictures, titles, prices, shop links.
Text paipai_page() {
  Text page = "<html><head><title>" + kDress + "</title></head><body><div class=\"list\">\n";
  for (int row = 0; page.size() < kPageBytes; ++row) {
    const Text code = code_of(row);
    page += "<div class=\"item\"><p class=\"pic\"><a href=\"http://auction1.paipai.com/" + code +
            "\" target=\"_blank\"><img class=\"photo\" "
            "onmouseover=\"PP.goodsListProcess.zoomImg(this,'" +
            code + "','http://img.paipaiimg.com/item/" + code +
            ".jpg')\" /></a></p><p class=\"title\"><a href=\"http://auction1.paipai.com/" + code +
            "\">" + kDress + "\xD0\xC2\xBF\xEE \xCF\xC4\xBC\xBE " + std::to_string(row) +
            "</a></p><p class=\"price\">\xA3\xA4" + std::to_string(row * 7 % 1000) +
            ".00</p><p class=\"deal\">" + std::to_string(row % 300) + "</p></div>\n";
  }
  page.resize(kPageBytes);
  return page;
}

// A Taobao page whose result block is JSON listings.
Text taobao_page() {
  Text page =
      "<html><head><script>var g_page_config = {\"pageName\":\"mainsrp\",dynamic:{\"auctions\":[";
  for (int row = 0; page.size() < kPageBytes - 64; ++row) {
    const Text id = std::to_string(10000000000LL + row * 7919LL);
    page += "{\"p4p\":\"\",\"nid\":\"" + id +
            "\",\"category\":\"50010850\",\"pid\":\"\",\"title\":\"" + kDress +
            "\xD0\xC2\xBF\xEE " + std::to_string(row) + "\",\"raw_title\":\"" + kDress +
            "\",\"pic_url\":\"//img.example/" + id +
            ".jpg\",\"detail_url\":\"//item.taobao.com/item.htm?id=" + id +
            "&ns=1\",\"view_price\":\"" + std::to_string(row % 500) +
            ".00\",\"view_fee\":\"0.00\",\"item_loc\":\"\xD5\xE3\xBD\xAD\",\"view_sales\":\"" +
            std::to_string(row % 900) + "\",\"nick\":\"shop" + std::to_string(row) +
            "\",\"shopcard\":{\"levelClasses\":[{\"levelClass\":\"icon-supple-level-jinguan\"}]}},";
  }
  page += "]}};</script></head><body></body></html>";
  return page;
}

void count_bytes(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

int plain_boost_count(const Text& text, std::string_view pattern) {
  const boost::regex compiled{std::string(pattern)};
  int count = 0;
  for (boost::sregex_iterator it(text.begin(), text.end(), compiled), end; it != end; ++it) {
    ++count;
  }
  return count;
}

int count_listings(const shop::ListingPattern& pattern, const Text& page) {
  int count = 0;
  pattern.scan(page, [&count](std::string_view) {
    ++count;
    return false;
  });
  return count;
}

void BM_PaipaiListingScan(benchmark::State& state) {
  const Text page = paipai_page();
  for (auto _ : state) {
    benchmark::DoNotOptimize(shop::paipai_listing_place(page, kAbsent));
  }
  count_bytes(state, page.size());
  state.counters["listings"] = count_listings(shop::default_scan_rules().paipai_listing, page);
}
BENCHMARK(BM_PaipaiListingScan);

void BM_PaipaiPlainBoostIteration(benchmark::State& state) {
  const Text page = paipai_page();
  for (auto _ : state) {
    benchmark::DoNotOptimize(plain_boost_count(page, shop::kPaipaiListingPattern));
  }
  count_bytes(state, page.size());
}
BENCHMARK(BM_PaipaiPlainBoostIteration);

// A seller's own pattern for the same markup: one with a fixed beginning the scan
// takes, and one without (searched over the whole text).
void BM_PaipaiConfiguredPatternScan(benchmark::State& state, const char* pattern) {
  const Text page = paipai_page();
  shop::ScanRules rules;
  rules.paipai_listing = shop::ListingPattern(pattern);
  const int listings = count_listings(rules.paipai_listing, page);
  for (auto _ : state) {
    benchmark::DoNotOptimize(shop::paipai_listing_place(page, kAbsent, rules));
  }
  count_bytes(state, page.size());
  state.counters["listings"] = listings;
  if (listings != plain_boost_count(page, shop::kPaipaiListingPattern)) {
    state.SkipWithError("the configured pattern lists other items than the default");
  }
}
BENCHMARK_CAPTURE(BM_PaipaiConfiguredPatternScan, with_prefix,
                  R"re(zoomImg\(this,'([A-Z0-9]+)',')re");
BENCHMARK_CAPTURE(
    BM_PaipaiConfiguredPatternScan, without_prefix,
    R"re((?:photo)" onmouseover="PP\.goodsListProcess\.zoomImg\(this,'([A-Z0-9]+)',')re");

void BM_TaobaoBlockAndListingScan(benchmark::State& state) {
  const Text page = taobao_page();
  for (auto _ : state) {
    benchmark::DoNotOptimize(shop::taobao_listing_place(page, "1"));
  }
  count_bytes(state, page.size());
}
BENCHMARK(BM_TaobaoBlockAndListingScan);

void BM_TaobaoPlainBoostIteration(benchmark::State& state) {
  const Text page = taobao_page();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        plain_boost_count(shop::taobao_result_block(page), shop::kTaobaoListingPattern));
  }
  count_bytes(state, page.size());
}
BENCHMARK(BM_TaobaoPlainBoostIteration);

}  // namespace

int main(int argc, char** argv) {
  return shop::bench::run_benchmarks(
      argc, argv,
      {"BM_PaipaiListingScan target: >= 1000 MB/s",
       "BM_TaobaoBlockAndListingScan target: >= 1000 MB/s",
       "BM_PaipaiConfiguredPatternScan: no target (a configured pattern, beside the default's)",
       "BM_*PlainBoostIteration: no target (the whole-text search, for reference)"});
}
