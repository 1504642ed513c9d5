#pragma once
// The optional settings file "店长设置.ini" in the working directory (GBK, read with
// the private-profile rules). Every missing key takes its built-in default; a value
// that cannot be used is named in `problems` and its default taken instead.

#include <filesystem>
#include <vector>

#include "friendlinks/friend_links.h"
#include "ranking/ranking_engine.h"
#include "ranking/search_scan.h"
#include "web/page_fetch.h"
#include "web/text.h"

namespace shop {

inline constexpr const char* kSettingsFile = "/店长设置.ini";

// [请求]: what the search and shop-page requests carry, and their pace.
struct RequestSettings {
  Text cookie;      // Cookie
  Text user_agent;  // User-Agent; empty: the client's own
  Text referer;     // Referer
  Text proxy_host;  // 代理 "host:port" (or "host" for port 80); empty: no proxy
  int proxy_port = 0;
  Text proxy_user;           // 代理用户
  Text proxy_password;       // 代理密码: never shown anywhere
  int pages_in_flight = 10;  // 同时页数, 1 to 10: the pool's threads per row
  int row_pause_ms = 0;      // 行间隔毫秒: the pause between two rows of a run
};

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

  RequestSettings requests;           // [请求]
  ScanRules scan_rules;               // [规则] of the ranking scans
  FriendLinkRules friend_link_rules;  // [规则] of the friend-link check

  // One line per value that could not be used, naming its section and key and what
  // is wrong; a value itself is never repeated (a cookie or a password would be).
  std::vector<Text> problems;
};

Settings default_settings();
// The marketplace names of [站点] that the friend-link check works with.
FriendLinkSites friend_link_sites(const Settings& settings);
Settings load_settings(const std::filesystem::path& file);

// A request carrying the headers and the proxy of the settings; the caller fills in
// the address.
PageRequest request_template(const RequestSettings& requests);
// Puts the request settings and the scan rules into the options of a ranking run.
void apply_ranking_settings(const Settings& settings, RankingOptions& options);

// The problems for the window: a heading and one problem a line; empty when none.
Text settings_problems_message(const std::vector<Text>& problems);
// The same on one line, for the command line's standard error.
Text settings_problems_line(const std::vector<Text>& problems);

}  // namespace shop
