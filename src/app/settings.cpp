#include "app/settings.h"

#include <string>

#include "app/private_profile.h"

namespace shop {
namespace {

const Text kSearchSection = "\xCB\xD1\xCB\xF7\xB5\xD8\xD6\xB7";  // 搜索地址
const Text kVendorSection = "\xB3\xA7\xC9\xCC";                  // 厂商
const Text kSitesSection = "\xD5\xBE\xB5\xE3";                   // 站点

struct Key {
  const Text* section;
  Text name;
  Text Settings::*field;
};

const Key kKeys[] = {
    {&kVendorSection, "\xC3\xFB\xB3\xC6", &Settings::vendor_name},           // 名称
    {&kVendorSection, "\xB9\xD9\xCD\xF8", &Settings::vendor_site},           // 官网
    {&kVendorSection, "QQ", &Settings::vendor_contact},                      //
    {&kVendorSection, "\xBA\xE1\xB7\xF9\xD2\xB3", &Settings::banner_page},   // 横幅页
    {&kVendorSection, "\xB2\xFA\xC6\xB7\xD2\xB3", &Settings::product_page},  // 产品页
    {&kVendorSection, "\xB0\xEF\xD6\xFA\xD2\xB3", &Settings::help_page},     // 帮助页
    {&kSitesSection, "\xC5\xC4\xC5\xC4\xC9\xCC\xC6\xB7\xD5\xBE",
     &Settings::paipai_item_site},  // 拍拍商品站
    {&kSitesSection, "\xC5\xC4\xC5\xC4\xCB\xD1\xCB\xF7\xD5\xBE",
     &Settings::paipai_search_site},  // 拍拍搜索站
    {&kSitesSection, "\xC5\xC4\xC5\xC4\xD3\xF2\xC3\xFB", &Settings::paipai_domain},  // 拍拍域名
    {&kSitesSection, "\xC5\xC4\xC5\xC4\xB5\xEA\xC6\xCC\xD6\xF7\xBB\xFA",
     &Settings::paipai_shop_host},  // 拍拍店铺主机
    {&kSitesSection, "\xCC\xD4\xB1\xA6\xD3\xF2\xC3\xFB", &Settings::taobao_domain},  // 淘宝域名
    {&kSitesSection, "\xCD\xFA\xCD\xFA\xD7\xB4\xCC\xAC\xD6\xF7\xBB\xFA",
     &Settings::wangwang_status_host},  // 旺旺状态主机
};

}  // namespace

Settings default_settings() {
  Settings settings;
  settings.search_address_parts = {
      "http://search1.paipai.com/cgi-bin/comm_search1?KeyWord=",
      "&sClassid=0&shoptype=&searchType=0&OrderStyle=",
      "&PageNum=",
      "http://s.taobao.com/search?q=",
      "&s=",
  };
  settings.vendor_name = "shopkeeper";
  settings.vendor_site = "https://shopkeeper.example.org";
  settings.vendor_contact = "000000";
  settings.banner_page = "qrc:/pages/banner.html";
  settings.product_page = "qrc:/pages/updates.html";
  settings.help_page = "";
  settings.paipai_item_site = "http://auction1.paipai.com";
  settings.paipai_search_site = "http://search1.paipai.com";
  settings.paipai_domain = "paipai.com";
  settings.paipai_shop_host = "shop.paipai.com";
  settings.taobao_domain = "taobao.com";
  settings.wangwang_status_host = "amos.alicdn.com";
  return settings;
}

Settings load_settings(const std::filesystem::path& file) {
  Settings settings = default_settings();
  for (size_t i = 0; i < settings.search_address_parts.size(); ++i) {
    Text& piece = settings.search_address_parts[i];
    piece = read_profile_string(file, kSearchSection, std::to_string(i), piece);
  }
  for (const Key& key : kKeys) {
    Text& value = settings.*key.field;
    value = read_profile_string(file, *key.section, key.name, value);
  }
  return settings;
}

}  // namespace shop
