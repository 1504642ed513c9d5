#pragma once
// The list-file format of the tracking lists: one line per row, each of the six
// fields followed by "≤≌≥", each line ended by CR LF, all in GBK.

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "lists/file_store.h"
#include "web/system_texts.h"
#include "web/text.h"

namespace shop {

// id, 关键字, 网址, 排名, 上次排名, 上上次排名
using TrackedItem = std::array<Text, 6>;

inline const Text kLineSeparator = "\r\n";

// Caps no seller's list comes near; a list file beyond either is not loaded.
inline constexpr std::uintmax_t kListFileSizeLimit = 16 * kMebibyte;
inline constexpr size_t kListRowLimit = 100000;

// A zero byte ends the text; surplus fields are dropped, missing ones left empty. A
// text that ends inside a two-byte character loses that incomplete character, so
// that the rows read back the same after they are saved.
std::vector<TrackedItem> parse_list_text(const Text& file_bytes);
// The same, or nothing when the text holds more than `max_rows` rows.
std::optional<std::vector<TrackedItem>> parse_list_text(const Text& file_bytes, size_t max_rows);
Text format_list_text(const std::vector<TrackedItem>& rows);

struct ListFileRead {
  FileProblem file_problem = FileProblem::none;
  bool too_many_rows = false;
  std::vector<TrackedItem> rows;  // empty unless the file was read whole
};

// The rows of a list file within the caps. A missing file is an empty list.
ListFileRead read_list_file(const std::filesystem::path& path);

}  // namespace shop
