// Speed of the text searches and cuts over fetched pages.

#include <benchmark/benchmark.h>

#include "bench_main.h"

#include <cstdio>
#include <string>

#include "web/text.h"

namespace {

using shop::Text;

constexpr size_t kPageBytes = size_t{1} << 20;
const Text kDress = "\xC1\xAC\xD2\xC2\xC8\xB9";  // 连衣裙
const Text kNeedle = "<a href=\"item_987654\">";

// About 1 MiB of listing markup with Chinese titles, `needle` placed at `at`.
Text mixed_page(const Text& needle, size_t at) {
  Text page;
  for (int row = 0; page.size() < kPageBytes; ++row) {
    page += "<li class=\"item\"><a href=\"item_" + std::to_string(row) + "\">" + kDress +
            "\xD0\xC2\xBF\xEE " + std::to_string(row % 97) + "</a><span>\xA3\xA4" +
            std::to_string(row * 7 % 1000) + "</span></li>\n";
  }
  page.resize(kPageBytes);
  page.replace(at, needle.size(), needle);
  return page;
}

void count_bytes(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_FindText(benchmark::State& state) {
  const Text page = mixed_page(kNeedle, kPageBytes - 200);
  for (auto _ : state) {
    benchmark::DoNotOptimize(shop::find_text(page, kNeedle));
  }
  count_bytes(state, page.size());
}
BENCHMARK(BM_FindText);

// The only occurrence near the start: the reverse search crosses the whole page.
void BM_FindTextReverse(benchmark::State& state) {
  const Text page = mixed_page(kNeedle, 200);
  for (auto _ : state) {
    benchmark::DoNotOptimize(shop::find_text_reverse(page, kNeedle));
  }
  count_bytes(state, page.size());
}
BENCHMARK(BM_FindTextReverse);

// Worst case for the character-start check: one long run of lead bytes where
// every byte hit is a second byte.
void BM_FindTextLeadByteRun(benchmark::State& state) {
  Text page;
  while (page.size() < kPageBytes) {
    page += "\xB0\xB1";
  }
  const Text part = "\xB1\xB0";
  for (auto _ : state) {
    benchmark::DoNotOptimize(shop::find_text(page, part));
    benchmark::DoNotOptimize(shop::find_text_reverse(page, part));
  }
  count_bytes(state, 2 * page.size());
}
BENCHMARK(BM_FindTextLeadByteRun);

void BM_UrlEncode(benchmark::State& state) {
  Text keyword;
  while (keyword.size() < 1024) {
    keyword += kDress + " dress-2024 ";
  }
  keyword.resize(1024);
  for (auto _ : state) {
    benchmark::DoNotOptimize(shop::url_encode(keyword));
  }
  count_bytes(state, keyword.size());
}
BENCHMARK(BM_UrlEncode);

// Start marker near the start, end marker near the end: mode 1 searches and
// copies nearly the whole page.
void BM_TextBetween(benchmark::State& state) {
  Text page = mixed_page("<div id=\"links\">", 100);
  page.replace(kPageBytes - 100, 6, "</div>");
  for (auto _ : state) {
    benchmark::DoNotOptimize(shop::text_between(page, "<div id=\"links\">", "</div>", 1));
  }
  count_bytes(state, page.size());
}
BENCHMARK(BM_TextBetween);

}  // namespace

int main(int argc, char** argv) {
  return shop::bench::run_benchmarks(
      argc, argv,
      {"BM_FindText target: >= 1000 MB/s", "BM_FindTextReverse target: >= 1000 MB/s",
       "BM_FindTextLeadByteRun, BM_UrlEncode, BM_TextBetween: no target (for reference)"});
}
