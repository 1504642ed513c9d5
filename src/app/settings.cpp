#include "app/settings.h"

#include <boost/regex.hpp>
#include <optional>
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

constexpr int kMostPagesInFlight = 10;
constexpr int kLongestRowPauseMs = 3'600'000;  // an hour
constexpr int kMostTaobaoItemsPerPage = 1000;
constexpr int kHighestPort = 65535;

Text decimal(long value) {
  return std::to_string(value);
}

// The keys of one section: a key that is absent or empty keeps its default without
// a word; a value that cannot be used is reported by its key.
class SectionReader {
 public:
  SectionReader(const std::filesystem::path& file, const char* section, std::vector<Text>& problems)
      : file_(file), section_(section), problems_(problems) {}

  // The value as written, or empty when absent, empty, or cut at the length limit
  // of a value (reported).
  Text value(const char* key) {
    Text value = read_profile_string(file_, section_, key, "");
    if (value.size() >= kProfileValueLimit) {
      report(key, kValueTooLongFrom + decimal(kProfileValueLimit - 1) + kValueTooLongEnd);
      return {};
    }
    return value;
  }

  void report(const char* key, const Text& reason) {
    problems_.push_back("[" + section_ + "] " + key + kProblemKeySeparator + reason);
  }

 private:
  const std::filesystem::path& file_;
  Text section_;
  std::vector<Text>& problems_;
};

// Decimal digits only, no sign, no more than nine of them.
std::optional<long> whole_number(const Text& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != Text::npos) {
    return std::nullopt;
  }
  return std::stol(text);
}

template <typename Number>
void read_number(SectionReader& reader, const char* key, long lowest, long highest, Number& field) {
  const Text text = reader.value(key);
  if (text.empty()) {
    return;
  }
  const std::optional<long> number = whole_number(text);
  if (!number || *number < lowest || *number > highest) {
    reader.report(key, kRangeFrom + decimal(lowest) + kRangeTo + decimal(highest) + kRangeEnd);
    return;
  }
  field = static_cast<Number>(*number);
}

// A value that goes into a request header: one line of text.
void read_header_value(SectionReader& reader, const char* key, Text& field) {
  const Text text = reader.value(key);
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != Text::npos) {
    reader.report(key, kLineBreakInValue);
    return;
  }
  if (!text.empty()) {
    field = text;
  }
}

bool is_port(const Text& text, int& port) {
  const std::optional<long> number = whole_number(text);
  if (!number || *number < 1 || *number > kHighestPort) {
    return false;
  }
  port = static_cast<int>(*number);
  return true;
}

// "host:port", "host" (port 80), "[v6 address]:port" or "[v6 address]"; no scheme,
// no credentials, no path.
bool parse_proxy(const Text& text, Text& host, int& port) {
  if (text.find_first_of(" \t\r\n/@") != Text::npos) {
    return false;
  }
  size_t host_end = text.size();
  if (text.front() == '[') {
    const size_t closing = text.find(']');
    if (closing == Text::npos) {
      return false;
    }
    host_end = closing + 1;
  } else if (const size_t colon = text.find(':'); colon != Text::npos) {
    host_end = colon;
  }
  host = text.substr(0, host_end);
  port = 0;
  const Text rest = text.substr(host_end);
  if (rest.empty()) {
    return !host.empty();
  }
  return !host.empty() && rest.front() == ':' && is_port(rest.substr(1), port);
}

void read_requests(const std::filesystem::path& file, RequestSettings& requests,
                   std::vector<Text>& problems) {
  SectionReader reader(file, kRequestSection, problems);
  read_header_value(reader, "Cookie", requests.cookie);
  read_header_value(reader, "User-Agent", requests.user_agent);
  read_header_value(reader, "Referer", requests.referer);

  const Text proxy = reader.value(kProxyKey);
  Text proxy_user;
  Text proxy_password;
  read_header_value(reader, kProxyUserKey, proxy_user);
  read_header_value(reader, kProxyPasswordKey, proxy_password);
  if (!proxy.empty()) {
    if (parse_proxy(proxy, requests.proxy_host, requests.proxy_port)) {
      requests.proxy_user = proxy_user;
      requests.proxy_password = proxy_user.empty() ? Text() : proxy_password;
    } else {
      requests.proxy_host.clear();
      reader.report(kProxyKey, kProxyMalformed);
    }
  } else {
    if (!proxy_user.empty()) {
      reader.report(kProxyUserKey, kNeedsProxy);
    }
    if (!proxy_password.empty()) {
      reader.report(kProxyPasswordKey, kNeedsProxy);
    }
  }
  if (!proxy.empty() && proxy_user.empty() && !proxy_password.empty()) {
    reader.report(kProxyPasswordKey, kNeedsProxyUser);
  }

  read_number(reader, kPagesInFlightKey, 1, kMostPagesInFlight, requests.pages_in_flight);
  read_number(reader, kRowPauseKey, 0, kLongestRowPauseMs, requests.row_pause_ms);
}

Text too_few_groups(unsigned groups) {
  return kPatternGroupsFrom + decimal(groups) + kPatternGroupsEnd;
}

void read_listing_pattern(SectionReader& reader, const char* key, unsigned groups,
                          ListingPattern& field) {
  const Text text = reader.value(key);
  if (text.empty()) {
    return;
  }
  try {
    ListingPattern pattern(text);
    if (pattern.sub_matches() < groups) {
      reader.report(key, too_few_groups(groups));
      return;
    }
    field = std::move(pattern);
  } catch (const std::exception&) {
    reader.report(key, kPatternDoesNotCompile);
  }
}

// Compiled the way the friend-link check compiles it, letter case ignored.
void read_link_pattern(SectionReader& reader, const char* key, Text& field) {
  constexpr unsigned kGroups = 2;  // the friend's address and the link text
  const Text text = reader.value(key);
  if (text.empty()) {
    return;
  }
  try {
    const boost::regex pattern(text, boost::regex::perl | boost::regex::icase);
    if (pattern.mark_count() < kGroups) {
      reader.report(key, too_few_groups(kGroups));
      return;
    }
    field = text;
  } catch (const std::exception&) {
    reader.report(key, kPatternDoesNotCompile);
  }
}

// A marker as written, with \n, \r, \t and \\ standing for a line feed, a carriage
// return, a tab and a backslash (a value cannot hold a line break). A two-byte GBK
// character is taken whole, so its second byte is never read as a backslash.
Text unescape_marker(const Text& text) {
  Text marker;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && i + 1 < text.size()) {
      marker += text.substr(i++, 2);
      continue;
    }
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const char* escaped = nullptr;
    if (byte == '\\') {
      escaped = next == 'n'    ? "\n"
                : next == 'r'  ? "\r"
                : next == 't'  ? "\t"
                : next == '\\' ? "\\"
                               : nullptr;
    }
    if (escaped != nullptr) {
      marker += escaped;
      ++i;
    } else {
      marker += text[i];
    }
  }
  return marker;
}

void read_marker(SectionReader& reader, const char* key, Text& field) {
  const Text text = reader.value(key);
  if (!text.empty()) {
    field = unescape_marker(text);
  }
}

void read_rules(const std::filesystem::path& file, Settings& settings) {
  SectionReader reader(file, kRulesSection, settings.problems);
  ScanRules& scan = settings.scan_rules;
  read_listing_pattern(reader, kPaipaiListingKey, 1, scan.paipai_listing);
  read_listing_pattern(reader, kPaipaiItemCodeKey, 1, scan.paipai_item_code);
  read_marker(reader, kTaobaoBlockStartKey, scan.taobao_block_start);
  read_marker(reader, kTaobaoBlockEndKey, scan.taobao_block_end);
  read_listing_pattern(reader, kTaobaoListingKey, 1, scan.taobao_listing);
  read_number(reader, kTaobaoItemsPerPageKey, 1, kMostTaobaoItemsPerPage,
              scan.taobao_items_per_page);

  // The link patterns' defaults name the hosts of [站点].
  FriendLinkRules& friends = settings.friend_link_rules;
  friends = default_friend_link_rules(friend_link_sites(settings));
  read_marker(reader, kPaipaiFriendBlockStartKey, friends.paipai_block_start);
  read_marker(reader, kPaipaiFriendBlockEndKey, friends.paipai_block_end);
  read_link_pattern(reader, kPaipaiFriendLinkKey, friends.paipai_link_pattern);
  read_marker(reader, kTaobaoFriendBlockStartKey, friends.taobao_block_start);
  read_marker(reader, kTaobaoFriendBlockEndKey, friends.taobao_block_end);
  read_link_pattern(reader, kTaobaoFriendLinkKey, friends.taobao_link_pattern);
}

Text joined(const std::vector<Text>& lines, const Text& separator) {
  Text text;
  for (const Text& line : lines) {
    text += (text.empty() ? Text() : separator) + line;
  }
  return text;
}

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
  settings.friend_link_rules = default_friend_link_rules(friend_link_sites(settings));
  return settings;
}

FriendLinkSites friend_link_sites(const Settings& settings) {
  return {settings.paipai_domain, settings.paipai_shop_host, settings.taobao_domain};
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
  read_requests(file, settings.requests, settings.problems);
  read_rules(file, settings);
  return settings;
}

PageRequest request_template(const RequestSettings& requests) {
  PageRequest request;
  request.proxy_host = requests.proxy_host;
  request.proxy_port = requests.proxy_port;
  request.proxy_user = requests.proxy_user;
  request.proxy_password = requests.proxy_password;
  request.cookie = requests.cookie;
  request.referer = requests.referer;
  request.user_agent = requests.user_agent;
  return request;
}

void apply_ranking_settings(const Settings& settings, RankingOptions& options) {
  options.request_template = request_template(settings.requests);
  options.threads_per_row = settings.requests.pages_in_flight;
  options.pause_between_rows = std::chrono::milliseconds(settings.requests.row_pause_ms);
  options.scan_rules = settings.scan_rules;
}

Text settings_problems_message(const std::vector<Text>& problems) {
  return problems.empty() ? Text() : kSettingsProblemsHeading + ("\n" + joined(problems, "\n"));
}

Text settings_problems_line(const std::vector<Text>& problems) {
  return problems.empty() ? Text()
                          : kSettingsProblemsHeading + joined(problems, kProblemLineSeparator);
}

}  // namespace shop
