#pragma once
// The list-file format of the tracking lists: one line per row, each of the six
// fields followed by "≤≌≥", each line ended by CR LF, all in GBK.

#include <array>
#include <vector>

#include "web/system_texts.h"
#include "web/text.h"

namespace shop {

// id, 关键字, 网址, 排名, 上次排名, 上上次排名
using TrackedItem = std::array<Text, 6>;

inline const Text kLineSeparator = "\r\n";

// A zero byte ends the text; surplus fields are dropped, missing ones left empty.
std::vector<TrackedItem> parse_list_text(const Text& file_bytes);
Text format_list_text(const std::vector<TrackedItem>& rows);

}  // namespace shop
