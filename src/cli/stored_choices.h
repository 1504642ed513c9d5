#pragma once
// The page count and the sort choice the window last showed, read from its
// control-state file the way the window restores them at start-up.

#include <filesystem>

#include "ranking/ranking_engine.h"
#include "web/text.h"

namespace shop {

// The text of the page count box: its stored value, else the form's "10".
Text stored_page_count_text(const std::filesystem::path& control_state_file);

// The sort text of the marketplace's selected sort button after the buttons have been
// restored in form order (a selected button clears the others of its page); with
// none selected the Paipai code is "77" and the Taobao parameter empty.
Text stored_sort_text(const std::filesystem::path& control_state_file, Marketplace marketplace);

}  // namespace shop
