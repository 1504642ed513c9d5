// Speed of the friend-link extraction (block cut and link pattern) over a large
// shop page, and over hostile 32 MiB blocks that would make a plain search of the
// link pattern run for minutes.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_main.h"
#include "friendlinks/friend_links.h"

namespace {

using shop::Text;

constexpr size_t kPageBytes = size_t{2} << 20;
constexpr int kLinks = 1000;
const shop::FriendLinkSites kSites{"paipai.com", "shop.paipai.com", "taobao.com"};
const Text kShopWords = "\xC1\xAC\xD2\xC2\xC8\xB9\xD0\xC2\xBF\xEE";  // 连衣裙新款

// Shop markup with Chinese text, `bytes` long: no addresses, and no "</div>" that
// would end a block early.
Text filler(size_t bytes) {
  Text text;
  for (int row = 0; text.size() < bytes; ++row) {
    text += "<p class=\"item\"><span>" + kShopWords + std::to_string(row) + "</span></p>\n";
  }
  text.resize(bytes);
  return text;
}

// A 2 MiB page whose block holds `kLinks` links spread over most of the page, each
// followed by shop markup.
Text shop_page(const Text& start, const Text& end, bool taobao) {
  const Text gap = filler(kPageBytes / (kLinks + 2));
  Text page = gap + start;
  for (int i = 0; i < kLinks; ++i) {
    const Text id = std::to_string(100000 + i);
    page += taobao ? "<li><a href=\"http://s" + id + ".taobao.com\"  target=\"_blank\">" +
                         kShopWords + id + "</a></li>"
                   : "<li><a href=\"http://shop.paipai.com/" + id + "\" target=\"_blank\">" +
                         kShopWords + id + "</a></li>";
    page += gap;
  }
  page += end;
  page += filler(kPageBytes > page.size() ? kPageBytes - page.size() : 0);
  return page;
}

void extract(benchmark::State& state, const Text& page, const Text& address) {
  size_t found = 0;
  for (auto _ : state) {
    found = shop::extract_friend_links(page, address, kSites).size();
    benchmark::DoNotOptimize(found);
  }
  if (found != kLinks) {
    state.SkipWithError("the page did not yield every link");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * found));
}

void BM_TaobaoShopPage(benchmark::State& state) {
  extract(state, shop_page(shop::kTaobaoBlockStart, shop::kTaobaoBlockEnd, true),
          "http://shop123.taobao.com/");
}
BENCHMARK(BM_TaobaoShopPage)->Unit(benchmark::kMillisecond);

void BM_PaipaiShopPage(benchmark::State& state) {
  extract(state, shop_page(shop::kPaipaiBlockStart, shop::kPaipaiBlockEnd, false),
          "http://shop.paipai.com/123");
}
BENCHMARK(BM_PaipaiShopPage)->Unit(benchmark::kMillisecond);

const size_t kHostileBytes = shop::bench::sized(size_t{32} << 20, size_t{1} << 20);

// A block of `piece` repeated to 32 MiB between the markers.
Text hostile_page(const Text& start, const Text& piece, const Text& end) {
  Text page = start;
  page.reserve(kHostileBytes + start.size() + end.size() + piece.size());
  while (page.size() < kHostileBytes) {
    page += piece;
  }
  return page + end;
}

void extract_hostile(benchmark::State& state, const Text& page, const Text& address) {
  size_t found = 0;
  for (auto _ : state) {
    found = shop::extract_friend_links(page, address, kSites).size();
    benchmark::DoNotOptimize(found);
  }
  if (found != 0) {
    state.SkipWithError("a hostile block yielded links");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_TaobaoBlockOfHttp(benchmark::State& state) {
  extract_hostile(state, hostile_page(shop::kTaobaoBlockStart, "http://", shop::kTaobaoBlockEnd),
                  "http://shop123.taobao.com/");
}
BENCHMARK(BM_TaobaoBlockOfHttp)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TaobaoLinksWithoutEnd(benchmark::State& state) {
  extract_hostile(
      state,
      hostile_page(shop::kTaobaoBlockStart,
                   "<li><a href=\"http://s1.taobao.com\"  target=\"_blank\">" + kShopWords,
                   shop::kTaobaoBlockEnd),
      "http://shop123.taobao.com/");
}
BENCHMARK(BM_TaobaoLinksWithoutEnd)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PaipaiBlockOfHttp(benchmark::State& state) {
  extract_hostile(state,
                  hostile_page(shop::kPaipaiBlockStart, "<a href=\"http://shop.paipai.com/",
                               shop::kPaipaiBlockEnd),
                  "http://shop.paipai.com/123");
}
BENCHMARK(BM_PaipaiBlockOfHttp)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PaipaiLinksWithoutEnd(benchmark::State& state) {
  extract_hostile(
      state,
      hostile_page(shop::kPaipaiBlockStart,
                   "<li><a href=\"http://shop.paipai.com/1\" target=\"_blank\">" + kShopWords,
                   shop::kPaipaiBlockEnd),
      "http://shop.paipai.com/123");
}
BENCHMARK(BM_PaipaiLinksWithoutEnd)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  return shop::bench::run_benchmarks(
      argc, argv,
      {"BM_TaobaoShopPage, BM_PaipaiShopPage: a 2 MiB shop page with 1000 friend links; "
       "target: < 50 ms a page",
       "BM_*BlockOfHttp, BM_*LinksWithoutEnd: a 32 MiB hostile friend-link block; "
       "target: <= 2 s a page"});
}
