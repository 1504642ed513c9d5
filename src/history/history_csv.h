#pragma once
// The rank history as a CSV file: UTF-8 with a byte-order mark, one header row of
// stable column names, then one line per record, oldest first.

#include <cstdint>
#include <filesystem>

#include "web/text.h"

namespace shop {

struct CsvResult {
  bool ok = false;
  std::int64_t records = 0;  // written by an export, added by an import
  std::int64_t skipped = 0;  // import: records already in the history
  Text problem;              // GBK, when not ok
};

// Writes every record of the history file into `csv`, replacing it atomically. A
// missing history gives a file with the header row alone.
CsvResult export_history_csv(const std::filesystem::path& history,
                             const std::filesystem::path& csv);

// Adds the records of `csv` that the history does not hold yet (same time,
// marketplace, item key and keyword). The whole file is checked first: a
// malformed line is reported with its line number and nothing is written.
CsvResult import_history_csv(const std::filesystem::path& history,
                             const std::filesystem::path& csv);

}  // namespace shop
