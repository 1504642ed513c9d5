#include "web/unicode_text.h"

#include <iconv.h>

#include <cerrno>

namespace shop {
namespace {

// One conversion with iconv; `substitute` stands for each input sequence that the
// converter rejects, and one input byte is skipped for it.
std::string convert(const char* to, const char* from, std::string_view input,
                    std::string_view substitute) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return {};
  }
  std::string output;
  output.reserve(input.size() * 3 / 2 + 4);
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  size_t in_left = input.size();
  while (in_left > 0) {
    char* out = buffer;
    size_t out_left = sizeof buffer;
    const size_t result = iconv(converter, &in, &in_left, &out, &out_left);
    output.append(buffer, static_cast<size_t>(out - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL (a sequence cut off at the end).
      output.append(substitute);
      ++in;
      --in_left;
    }
  }
  iconv_close(converter);
  return output;
}

}  // namespace

std::string gbk_to_utf8(const Text& text) {
  return convert("UTF-8", "GBK", text, "\uFFFD");
}

Text utf8_to_gbk(std::string_view utf8) {
  return convert("GBK", "UTF-8", utf8, "?");
}

bool is_valid_utf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > bytes.size()) {
      return false;
    }
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) {
        return false;
      }
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace shop
