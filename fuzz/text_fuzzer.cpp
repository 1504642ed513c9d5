// The text helpers against plain references that walk the text one character at a
// time: the same positions, pieces and replacements; url_encode decodes back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "web/text.h"

namespace {

using shop::Text;

// Every offset where a character begins, walking from `from`.
std::vector<size_t> character_starts(const Text& text, size_t from) {
  std::vector<size_t> starts;
  for (size_t i = from; i < text.size(); i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1) {
    starts.push_back(i);
  }
  return starts;
}

bool occurs_at(const Text& text, const Text& part, size_t at) {
  return text.compare(at, part.size(), part) == 0 && at + part.size() <= text.size();
}

int reference_find(const Text& text, const Text& part, int start) {
  const size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
  if (from >= text.size()) {
    return -1;
  }
  if (part.empty()) {
    return 1;
  }
  for (const size_t at : character_starts(text, from)) {
    if (occurs_at(text, part, at)) {
      return static_cast<int>(at) + 1;
    }
  }
  return -1;
}

int reference_find_reverse(const Text& text, const Text& part) {
  if (text.empty()) {
    return -1;
  }
  if (part.empty()) {
    return 1;
  }
  int last = -1;
  for (const size_t at : character_starts(text, 0)) {
    if (occurs_at(text, part, at)) {
      last = static_cast<int>(at) + 1;
    }
  }
  return last;
}

std::vector<Text> reference_split(const Text& text, const Text& separator) {
  std::vector<Text> pieces;
  size_t piece_start = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (!separator.empty() && occurs_at(text, separator, i)) {
      pieces.push_back(text.substr(piece_start, i - piece_start));
      i += separator.size();
      piece_start = i;
    } else {
      i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
    }
  }
  if (piece_start < text.size()) {
    pieces.push_back(text.substr(piece_start));
  }
  return pieces;
}

Text reference_replace(const Text& text, const Text& placeholder, const Text& value) {
  if (placeholder.empty()) {
    return text;
  }
  Text out;
  size_t i = 0;
  while (i < text.size()) {
    if (occurs_at(text, placeholder, i)) {
      out += value;
      i += placeholder.size();
    } else {
      const size_t step = static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
      out += text.substr(i, step);
      i += step;
    }
  }
  return out;
}

Text url_decode(const Text& encoded) {
  Text out;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%' && i + 2 < encoded.size()) {
      out += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += encoded[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Text part = input.ConsumeRandomLengthString(8);
  const Text other = input.ConsumeRandomLengthString(8);
  const int start = input.ConsumeIntegralInRange<int>(-2, 300);
  const Text text = input.ConsumeRemainingBytesAsString();

  FUZZ_CHECK(shop::find_text(text, part, start) == reference_find(text, part, start));
  FUZZ_CHECK(shop::find_text_reverse(text, part) == reference_find_reverse(text, part));
  FUZZ_CHECK(shop::split_text(text, part) == reference_split(text, part));
  FUZZ_CHECK(shop::replace_text(text, part, other) == reference_replace(text, part, other));
  FUZZ_CHECK(url_decode(shop::url_encode(text)) == text);

  // The cuts by their definitions over the searches.
  const int a = reference_find(text, part, 1);
  const int length = static_cast<int>(part.size());
  Text mode1;
  Text mode0;
  if (a != -1) {
    const int b1 = reference_find(text, other, a + length);
    mode1 = b1 == -1 ? Text{} : shop::text_mid(text, a + length, b1 - a - length);
    const int b0 = reference_find_reverse(text, other);
    mode0 = b0 == -1 ? Text{} : shop::text_mid(text, a + length, b0 - a - length);
  }
  FUZZ_CHECK(shop::text_between(text, part, other, 1) == mode1);
  FUZZ_CHECK(shop::text_between(text, part, other, 0) == mode0);
  const int last = reference_find_reverse(text, part);
  FUZZ_CHECK(shop::text_before(text, part) ==
             (a == -1 ? Text{} : text.substr(0, static_cast<size_t>(last - 1))));
  return 0;
}
