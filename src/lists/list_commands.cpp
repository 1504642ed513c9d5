#include "lists/list_commands.h"

#include <string>

#include "lists/list_store.h"
#include "lists/tracking_lists.h"
#include "ui/control_text.h"
#include "ui/message.h"
#include "ui/open_in_browser.h"
#include "web/system_texts.h"

namespace shop {
namespace {

constexpr int kInformationFlags = 64;

constexpr int kIdColumn = 0;
constexpr int kKeywordColumn = 1;
constexpr int kAddressColumn = 2;

std::optional<TrackingList> list_of_current_page(const MainForm& form) {
  return tracking_list_of_page(form, form.选择夹1->currentIndex());
}

}  // namespace

void add_tracked_item(MainForm& form) {
  const Text keyword = control_text(form.编辑框1);
  const Text address = control_text(form.编辑框2);
  if (keyword.empty() || address.empty()) {
    show_message(kEmptyInputMessage, kHintTitle, kInformationFlags);
    return;
  }
  const auto list = list_of_current_page(form);
  if (!list) {
    return;
  }
  TrackingListView& view = *list->view;
  const int row = view.append_row();
  view.set_cell(row, kIdColumn, std::to_string(row));
  view.set_cell(row, kKeywordColumn, keyword);
  view.set_cell(row, kAddressColumn, address);
  save_list_file(view, list->file);
}

void delete_selected_item(MainForm& form) {
  const auto list = list_of_current_page(form);
  if (!list) {
    return;
  }
  const int selected = list->view->selected_row();
  if (selected >= 0) {
    list->view->remove_row(selected);
  }
  save_list_file(*list->view, list->file);
}

void clear_tracking_list(MainForm& form) {
  const auto list = list_of_current_page(form);
  if (!list) {
    return;
  }
  list->view->remove_all_rows();
  save_list_file(*list->view, list->file);
}

void clear_inputs(MainForm& form) {
  set_control_text(form.编辑框1, "");
  set_control_text(form.编辑框2, "");
}

Text paipai_search_address(const Text& search_site, const Text& keyword) {
  return search_site + "/cgi-bin/comm_search1?KeyWord=" + url_encode(keyword) +
         "&sClassid=0&shoptype=&searchType=0&PTAG=20084.2.2&PageNum=1";
}

void open_paipai_search(const MainForm& form, const Text& search_site) {
  open_in_browser(paipai_search_address(search_site, control_text(form.编辑框1)));
}

void copy_row_back(MainForm& form, const TrackingListView& view) {
  const int row = view.selected_row();
  if (row < 0) {
    return;
  }
  set_control_text(form.编辑框1, view.cell(row, kKeywordColumn));
  set_control_text(form.编辑框2, view.cell(row, kAddressColumn));
}

}  // namespace shop
