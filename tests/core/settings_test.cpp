#include "app/settings.h"

#include <gtest/gtest.h>

#include "friendlinks/friend_links.h"
#include "support/core/local_server.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using testing::gbk;
using testing::TempDir;
using testing::write_file;

Settings load_from(const Text& file_text) {
  TempDir dir;
  write_file(dir.file("s.ini"), file_text);
  return load_settings(dir.file("s.ini"));
}

Text section(const char* name, const Text& lines) {
  return "[" + gbk(name) + "]\r\n" + lines;
}

TEST(Settings, WithoutAFileEverythingIsAsBuiltIn) {
  TempDir dir;
  const Settings settings = load_settings(dir.file("absent.ini"));
  EXPECT_TRUE(settings.problems.empty());

  const RequestSettings& requests = settings.requests;
  EXPECT_EQ(requests.cookie + requests.user_agent + requests.referer + requests.proxy_host +
                requests.proxy_user + requests.proxy_password,
            "");
  EXPECT_EQ(requests.pages_in_flight, 10);
  EXPECT_EQ(requests.row_pause_ms, 0);

  // The rules are the texts the scans and the friend-link check have always used.
  const ScanRules& scan = settings.scan_rules;
  EXPECT_EQ(scan.paipai_listing.text(),
            R"re(photo" onmouseover="PP.goodsListProcess.zoomImg\(this,'([A-Z0-9]+)',')re");
  EXPECT_EQ(scan.paipai_item_code.text(), "([A-Z0-9]{32})");
  EXPECT_EQ(scan.taobao_block_start, "dynamic:");
  EXPECT_EQ(scan.taobao_block_end, "}}");
  EXPECT_EQ(scan.taobao_listing.text(), R"re(nid":"(.*?)")re");
  EXPECT_EQ(scan.taobao_items_per_page, 40);
  const FriendLinkRules& friends = settings.friend_link_rules;
  EXPECT_EQ(friends.paipai_block_start, "<div class=\"pfhlkd_link\">");
  EXPECT_EQ(friends.paipai_block_end, "</div>");
  EXPECT_EQ(friends.paipai_link_pattern,
            "<a href=\"(http://shop.paipai.com/[0-9]*)\" target=\"_blank\">(.*?)</a>");
  EXPECT_EQ(friends.taobao_block_start, gbk("<span>友情链接</span>"));
  EXPECT_EQ(friends.taobao_block_end, "\n</div>\n</div>");
  EXPECT_EQ(friends.taobao_link_pattern,
            "(http://.*?\\.taobao\\.com)\"  target=\"_blank\">(.*?)</a>");
}

TEST(Settings, RequestValuesGoIntoEveryRequest) {
  const Settings settings =
      load_from(section("请求",
                        "Cookie=sid=42; t=abc\r\nUser-Agent=Mozilla/5.0 (X11)\r\n"
                        "Referer=http://s.taobao.com/\r\n" +
                            gbk("代理=10.0.0.8:3128\r\n代理用户=seller\r\n") +
                            gbk("代理密码=p:w\r\n同时页数=3\r\n行间隔毫秒=1500\r\n")));
  EXPECT_TRUE(settings.problems.empty());
  const PageRequest request = request_template(settings.requests);
  EXPECT_EQ(request.cookie, "sid=42; t=abc");
  EXPECT_EQ(request.user_agent, "Mozilla/5.0 (X11)");
  EXPECT_EQ(request.referer, "http://s.taobao.com/");
  EXPECT_EQ(proxy_text(request.proxy_host, request.proxy_port), "10.0.0.8:3128");
  EXPECT_EQ(request.proxy_user, "seller");
  EXPECT_EQ(request.proxy_password, "p:w");
  EXPECT_EQ(request.address + request.method + request.body, "");
  EXPECT_EQ(settings.requests.pages_in_flight, 3);
  EXPECT_EQ(settings.requests.row_pause_ms, 1500);

  const struct {
    Text value;
    Text proxy;
  } proxies[] = {{"proxy.example", "proxy.example:80"},
                 {"[::1]:8080", "[::1]:8080"},
                 {"127.0.0.1:65535", "127.0.0.1:65535"}};
  for (const auto& c : proxies) {
    const RequestSettings requests = load_from(section("请求", gbk("代理=") + c.value)).requests;
    EXPECT_EQ(proxy_text(requests.proxy_host, requests.proxy_port), c.proxy) << c.value;
  }
}

// A server standing in as the proxy sees the request as the settings describe it.
TEST(Settings, ConfiguredRequestsGoThroughTheProxyWithTheirHeaders) {
  test_support::LocalServer proxy;
  proxy.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("via proxy", "text/plain");
  });
  proxy.start();
  const Settings settings = load_from(section(
      "请求", "Cookie=sid=42\r\nUser-Agent=Mozilla/5.0 (X11)\r\nReferer=http://s.example/\r\n" +
                  gbk("代理=127.0.0.1:") + std::to_string(proxy.port()) +
                  gbk("\r\n代理用户=seller\r\n代理密码=p:w\r\n")));
  ASSERT_TRUE(settings.problems.empty());
  PageRequest request = request_template(settings.requests);
  request.address = "http://search.example/s?q=1";
  request.poll_count = 1;
  EXPECT_EQ(fetch_page(request), "via proxy");

  const auto requests = proxy.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "http://search.example/s?q=1");
  EXPECT_EQ(requests[0].header("Proxy-Authorization"), "Basic c2VsbGVyOnA6dw==");
  EXPECT_EQ(requests[0].header("Cookie"), "sid=42");
  EXPECT_EQ(requests[0].header("User-Agent"), "Mozilla/5.0 (X11)");
  EXPECT_EQ(requests[0].header("Referer"), "http://s.example/");
}

// Each bad value is named once by its key, and its default is kept.
TEST(Settings, EveryUnusableValueIsNamedOnceAndItsDefaultKept) {
  const Text long_cookie = "Cookie=" + Text(64 * 1024, 'c');
  const struct {
    const char* what;
    Text file;
    const char* key;  // UTF-8, named in the one problem
  } cases[] = {
      {"no pages at once", section("请求", gbk("同时页数=0")), "同时页数"},
      {"too many pages", section("请求", gbk("同时页数=1000")), "同时页数"},
      {"pages not a number", section("请求", gbk("同时页数=ten")), "同时页数"},
      {"pages with a sign", section("请求", gbk("同时页数=+5")), "同时页数"},
      {"negative pause", section("请求", gbk("行间隔毫秒=-5")), "行间隔毫秒"},
      {"pause with a unit", section("请求", gbk("行间隔毫秒=200ms")), "行间隔毫秒"},
      {"huge pause", section("请求", gbk("行间隔毫秒=99999999999")), "行间隔毫秒"},
      {"cookie with a line break", section("请求", "Cookie=a=1\rX-Evil: 1\r\n"), "Cookie"},
      {"referer with a line break", section("请求", "Referer=http://a/\rX: 1\r\n"), "Referer"},
      {"cookie of 64 KB", section("请求", long_cookie), "Cookie"},
      {"proxy port 0", section("请求", gbk("代理=h:0")), "代理"},
      {"proxy port too high", section("请求", gbk("代理=h:70000")), "代理"},
      {"proxy with a scheme", section("请求", gbk("代理=http://h:8080")), "代理"},
      {"proxy with credentials", section("请求", gbk("代理=u:pw@h:8080")), "代理"},
      {"proxy without a host", section("请求", gbk("代理=:8080")), "代理"},
      {"proxy user without proxy", section("请求", gbk("代理用户=u")), "代理用户"},
      {"proxy password without user", section("请求", gbk("代理=h:1\r\n代理密码=secret-pw")),
       "代理密码"},
      {"pattern does not compile", section("规则", gbk("拍拍列表=zoomImg(this,'([A-Z0-9]+)")),
       "拍拍列表"},
      {"pattern without a group", section("规则", gbk("淘宝列表=nid\":\"[0-9]+\"")), "淘宝列表"},
      {"item code without a group", section("规则", gbk("拍拍商品码=[A-Z0-9]{32}")), "拍拍商品码"},
      {"friend link with one group", section("规则", gbk("淘宝友情链接=(http://[^\"]*)\">")),
       "淘宝友情链接"},
      {"friend link does not compile", section("规则", gbk("拍拍友情链接=(a)(b")), "拍拍友情链接"},
      {"no items per page", section("规则", gbk("淘宝每页=0")), "淘宝每页"},
  };
  const Settings defaults = default_settings();
  for (const auto& c : cases) {
    const Settings settings = load_from(c.file);
    ASSERT_EQ(settings.problems.size(), 1u) << c.what;
    EXPECT_NE(settings.problems[0].find(gbk(c.key)), Text::npos) << c.what;

    const RequestSettings& requests = settings.requests;
    EXPECT_EQ(requests.pages_in_flight, 10) << c.what;
    EXPECT_EQ(requests.row_pause_ms, 0) << c.what;
    EXPECT_EQ(requests.cookie + requests.referer + requests.proxy_user + requests.proxy_password,
              "")
        << c.what;
    // Only a well-formed proxy is used.
    EXPECT_EQ(requests.proxy_host.empty(), c.file.find(gbk("代理=h:1")) == Text::npos) << c.what;
    EXPECT_EQ(settings.scan_rules.paipai_listing.text(), kPaipaiListingPattern) << c.what;
    EXPECT_EQ(settings.scan_rules.paipai_item_code.text(), kPaipaiItemCodePattern) << c.what;
    EXPECT_EQ(settings.scan_rules.taobao_listing.text(), kTaobaoListingPattern) << c.what;
    EXPECT_EQ(settings.scan_rules.taobao_items_per_page, 40) << c.what;
    EXPECT_EQ(settings.friend_link_rules.paipai_link_pattern,
              defaults.friend_link_rules.paipai_link_pattern)
        << c.what;
    EXPECT_EQ(settings.friend_link_rules.taobao_link_pattern,
              defaults.friend_link_rules.taobao_link_pattern)
        << c.what;
  }
}

TEST(Settings, ProblemsAreShownTogetherAndNeverWithASecret) {
  const Settings settings =
      load_from(section("请求", gbk("Cookie=top-secret\rx\r\n代理密码=hunter2\r\n同时页数=0\r\n")));
  ASSERT_EQ(settings.problems.size(), 3u);
  const Text message = settings_problems_message(settings.problems);
  const Text line = settings_problems_line(settings.problems);
  for (const Text& shown : {message, line}) {
    EXPECT_EQ(shown.find("top-secret"), Text::npos);
    EXPECT_EQ(shown.find("hunter2"), Text::npos);
    for (const Text& problem : settings.problems) {
      EXPECT_NE(shown.find(problem), Text::npos);
    }
  }
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 3) << "a heading and a line each";
  EXPECT_EQ(line.find_first_of("\r\n"), Text::npos);
  EXPECT_EQ(settings_problems_message({}), "");
  EXPECT_EQ(settings_problems_line({}), "");
}

TEST(Settings, RulesAreReadWithLineBreakEscapesInMarkers) {
  // 乗 is 81 5C in GBK: its second byte must not start an escape.
  const Settings settings = load_from(section(
      "规则",
      gbk("淘宝结果开始=\"items\":[\r\n淘宝结果结束=乗n]\r\n") +
          gbk("淘宝友情结束=\\n</div>\\t\\\\n\r\n拍拍列表=<li data-code=\"([A-Z0-9]+)\"\r\n") +
          gbk("淘宝每页=44\r\n淘宝友情链接=<a href=\"(http://[^\"]+)\">([^<]*)</a>\r\n")));
  EXPECT_TRUE(settings.problems.empty());
  EXPECT_EQ(settings.scan_rules.taobao_block_start, "\"items\":[");
  EXPECT_EQ(settings.scan_rules.taobao_block_end, gbk("乗n]"));
  EXPECT_EQ(settings.friend_link_rules.taobao_block_end, "\n</div>\t\\n");
  EXPECT_EQ(settings.scan_rules.paipai_listing.text(), "<li data-code=\"([A-Z0-9]+)\"");
  EXPECT_EQ(settings.scan_rules.taobao_items_per_page, 44);
  EXPECT_EQ(settings.friend_link_rules.taobao_link_pattern,
            "<a href=\"(http://[^\"]+)\">([^<]*)</a>");
}

}  // namespace
}  // namespace shop
