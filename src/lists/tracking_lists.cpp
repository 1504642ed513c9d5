#include "lists/tracking_lists.h"

#include "lists/file_store.h"
#include "lists/list_store.h"

namespace shop {

TrackingList paipai_list(const MainForm& form) {
  return {Marketplace::paipai, form.超级列表框1, working_directory_file(kPaipaiListFile)};
}

TrackingList taobao_list(const MainForm& form) {
  return {Marketplace::taobao, form.超级列表框2, working_directory_file(kTaobaoListFile)};
}

std::optional<TrackingList> tracking_list_of_page(const MainForm& form, int page) {
  switch (page) {
    case 0:
      return paipai_list(form);
    case 1:
      return taobao_list(form);
    default:
      return std::nullopt;
  }
}

}  // namespace shop
