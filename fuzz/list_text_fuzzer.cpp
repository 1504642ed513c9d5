// The list-file codec: whatever a file holds, the rows it loads are saved and loaded
// back the same, and the row cap refuses exactly the texts with more rows.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "lists/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const shop::Text file(reinterpret_cast<const char*>(data), size);
  const std::vector<shop::TrackedItem> rows = shop::parse_list_text(file);
  FUZZ_CHECK(shop::parse_list_text(shop::format_list_text(rows)) == rows);
  FUZZ_CHECK(shop::parse_list_text(file, rows.size()) == rows);
  if (!rows.empty()) {
    FUZZ_CHECK(!shop::parse_list_text(file, rows.size() - 1).has_value());
  }
  return 0;
}
