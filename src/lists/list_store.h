#pragma once
// Carrying a tracking list between its list view and its list file.

#include <filesystem>

#include "ui/tracking_list_view.h"

namespace shop {

inline constexpr const char* kPaipaiListFile = "/拍拍排名.txt";
inline constexpr const char* kTaobaoListFile = "/淘宝排名.txt";

// Appends one row per line of the file; a missing or unreadable file adds nothing. A
// file that is not a regular one, or beyond the caps of a list file, adds nothing
// either and the user is told so in one message.
void load_list_file(TrackingListView& view, const std::filesystem::path& path);
// Replaces the file (through a symlink, the file it leads to) by the view's rows; a
// failure is not reported and leaves the former file whole.
void save_list_file(const TrackingListView& view, const std::filesystem::path& path);

}  // namespace shop
