#pragma once
// The optional settings file "店长设置.ini" in the working directory (GBK, read with
// the private-profile rules). Every missing key takes its built-in default.

#include <filesystem>
#include <vector>

#include "web/text.h"

namespace shop {

inline constexpr const char* kSettingsFile = "/店长设置.ini";

struct Settings {
  // [搜索地址] 0..4: pieces 0-2 frame the Paipai search address, 3-4 the Taobao one.
  std::vector<Text> search_address_parts;

  // [厂商]: the vendor shown in the caption, and the vendor's pages.
  Text vendor_name;
  Text vendor_site;
  Text vendor_contact;  // key QQ
  Text banner_page;
  Text product_page;
  Text help_page;  // empty: the help page bundled with the program

  // [站点]: the marketplaces' hosts and domain names.
  Text paipai_item_site;      // scheme and host of Paipai item pages
  Text paipai_search_site;    // scheme and host of the Paipai keyword search
  Text paipai_domain;         // tested in a shop address
  Text paipai_shop_host;      // inside the Paipai friend-link pattern
  Text taobao_domain;         // tested in a shop address and inside the Taobao pattern
  Text wangwang_status_host;  // the Wangwang online-status service
};

Settings default_settings();
Settings load_settings(const std::filesystem::path& file);

}  // namespace shop
