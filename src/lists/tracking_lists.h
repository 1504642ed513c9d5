#pragma once
// The two tracking lists of the main window: the Paipai list on page 0 of 选择夹1 and
// the Taobao list on page 1, each with its list file in the working directory.

#include <filesystem>
#include <optional>

#include "ranking/ranking_engine.h"
#include "ui/main_form.h"

namespace shop {

struct TrackingList {
  Marketplace marketplace;
  TrackingListView* view;
  std::filesystem::path file;  // read anew from the working directory at each call
};

TrackingList paipai_list(const MainForm& form);
TrackingList taobao_list(const MainForm& form);
// The list a command on page `page` acts on: page 0 Paipai, page 1 Taobao, else none.
std::optional<TrackingList> tracking_list_of_page(const MainForm& form, int page);

}  // namespace shop
