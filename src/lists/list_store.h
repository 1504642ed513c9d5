#pragma once
// Carrying a tracking list between its list view and its list file.

#include <filesystem>

#include "ui/tracking_list_view.h"

namespace shop {

inline constexpr const char* kPaipaiListFile = "/拍拍排名.txt";
inline constexpr const char* kTaobaoListFile = "/淘宝排名.txt";

// Appends one row per line of the file; a missing or unreadable file adds nothing.
void load_list_file(TrackingListView& view, const std::filesystem::path& path);
// Replaces the file by the view's rows; a failure is not reported and leaves the
// former file whole.
void save_list_file(const TrackingListView& view, const std::filesystem::path& path);

}  // namespace shop
