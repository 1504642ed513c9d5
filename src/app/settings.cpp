#include "app/settings.h"

#include <string>

#include "app/private_profile.h"
#include "web/system_texts.h"

namespace shop {
namespace {

struct Key {
  const char* section;
  const char* name;
  Text Settings::*field;
};

const Key kKeys[] = {
    {kVendorSection, kVendorNameKey, &Settings::vendor_name},
    {kVendorSection, kVendorSiteKey, &Settings::vendor_site},
    {kVendorSection, "QQ", &Settings::vendor_contact},
    {kVendorSection, kBannerPageKey, &Settings::banner_page},
    {kVendorSection, kProductPageKey, &Settings::product_page},
    {kVendorSection, kHelpPageKey, &Settings::help_page},
    {kSitesSection, kPaipaiItemSiteKey, &Settings::paipai_item_site},
    {kSitesSection, kPaipaiSearchSiteKey, &Settings::paipai_search_site},
    {kSitesSection, kPaipaiDomainKey, &Settings::paipai_domain},
    {kSitesSection, kPaipaiShopHostKey, &Settings::paipai_shop_host},
    {kSitesSection, kTaobaoDomainKey, &Settings::taobao_domain},
    {kSitesSection, kWangwangStatusHostKey, &Settings::wangwang_status_host},
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
    piece = read_profile_string(file, kSearchAddressSection, std::to_string(i), piece);
  }
  for (const Key& key : kKeys) {
    Text& value = settings.*key.field;
    value = read_profile_string(file, key.section, key.name, value);
  }
  return settings;
}

}  // namespace shop
