#pragma once
// The context menu of a tracking list's rows: "排名历史…" opens the history dialog
// of the row's item.

#include <string_view>

namespace shop {

class TrackingListView;

// `marketplace` is "paipai" or "taobao", the marketplace of the list.
void add_history_menu(TrackingListView& view, std::string_view marketplace);

}  // namespace shop
