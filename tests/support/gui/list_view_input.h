#pragma once
// Mouse input on a tracking list view as the window system delivers it: presses,
// releases and double-clicks on the view's viewport.

#include "ui/tracking_list_view.h"

namespace shop::testing {

// A click on the middle of a row.
void click_row(TrackingListView& view, int row);
// Press, release, double-click, release on the middle of a row.
void double_click_row(TrackingListView& view, int row);
// A click on the empty area below the last row.
void click_below_rows(TrackingListView& view);

}  // namespace shop::testing
