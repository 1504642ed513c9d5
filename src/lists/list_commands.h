#pragma once
// The commands that maintain the two tracking lists from the main window. Add,
// delete and clear list act on the list of the current page of 选择夹1 (page 0
// Paipai, page 1 Taobao; nothing on other pages) and rewrite its list file at once.

#include "ui/main_form.h"
#include "web/text.h"

namespace shop {

// 按钮1: appends (id, 编辑框1, 编辑框2) with the id equal to the row count before.
// Either box empty: an information message, and nothing changes.
void add_tracked_item(MainForm& form);
// 按钮3: removes the selected row, if any; the file is rewritten in any case.
void delete_selected_item(MainForm& form);
// 按钮6: removes every row, leaving a zero-length list file.
void clear_tracking_list(MainForm& form);
// 按钮7: empties 编辑框1 and 编辑框2, on any page.
void clear_inputs(MainForm& form);

// The Paipai keyword-search page for `keyword` on `search_site` (scheme and host).
Text paipai_search_address(const Text& search_site, const Text& keyword);
// 按钮4: opens the search page for the keyword in 编辑框1 in the web browser.
void open_paipai_search(const MainForm& form, const Text& search_site);

// Row activation of a tracking list view: the keyword and address of its selected row
// go back into 编辑框1 and 编辑框2; with no row selected nothing changes. The row that
// merely has the keyboard focus does not count. The list is not changed.
void copy_row_back(MainForm& form, const TrackingListView& view);

}  // namespace shop
