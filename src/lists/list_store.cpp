#include "lists/list_store.h"

#include "lists/file_store.h"
#include "lists/list_file.h"

namespace shop {

void load_list_file(TrackingListView& view, const std::filesystem::path& path) {
  view.append_rows(parse_list_text(read_file_bytes(path)));
}

void save_list_file(const TrackingListView& view, const std::filesystem::path& path) {
  std::vector<TrackedItem> rows(static_cast<size_t>(view.row_count()));
  for (int row = 0; row < view.row_count(); ++row) {
    for (int column = 0; column < static_cast<int>(TrackedItem().size()); ++column) {
      rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = view.cell(row, column);
    }
  }
  replace_file_contents(path, format_list_text(rows));
}

}  // namespace shop
