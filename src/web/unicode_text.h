#pragma once
// GBK text and UTF-8 for the few places that must speak UTF-8 outside the window:
// the rank-history database and its CSV files, and the command line's output.

#include <string>
#include <string_view>

#include "web/text.h"

namespace shop {

// Bytes that are not valid GBK become U+FFFD.
std::string gbk_to_utf8(const Text& text);
// A character that GBK cannot hold, or a byte that is not valid UTF-8, becomes "?".
Text utf8_to_gbk(std::string_view utf8);
bool is_valid_utf8(std::string_view bytes);

}  // namespace shop
