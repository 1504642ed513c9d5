#include "lists/list_store.h"

#include "lists/file_reports.h"
#include "lists/file_store.h"
#include "lists/list_file.h"

namespace shop {

void load_list_file(TrackingListView& view, const std::filesystem::path& path) {
  const ListFileRead list = read_list_file(path);
  report_file_problem(path, list.file_problem, kListFileSizeLimit, kListNotLoadedText);
  if (list.too_many_rows) {
    report_too_many_rows(path, kListRowLimit, kListNotLoadedText);
  }
  try {
    view.append_rows(list.rows);
  } catch (const std::bad_alloc&) {
  }
}

void save_list_file(const TrackingListView& view, const std::filesystem::path& path) {
  try {
    std::vector<TrackedItem> rows(static_cast<size_t>(view.row_count()));
    for (int row = 0; row < view.row_count(); ++row) {
      for (int column = 0; column < static_cast<int>(TrackedItem().size()); ++column) {
        rows[static_cast<size_t>(row)][static_cast<size_t>(column)] = view.cell(row, column);
      }
    }
    replace_file_contents(path, format_list_text(rows));
  } catch (const std::bad_alloc&) {
    // The file keeps what it held.
  }
}

}  // namespace shop
