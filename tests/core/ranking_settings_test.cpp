// Ranking runs as the settings file shapes them: the requests' headers and proxy,
// the pages in flight, the pause between rows and the listing rules.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "app/settings.h"
#include "ranking/ranking_engine.h"
#include "support/core/fake_marketplace.h"
#include "support/core/local_server.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using test_support::FakeMarketplace;
using test_support::LocalServer;
using testing::gbk;
using Clock = std::chrono::steady_clock;

const Text kCode = "9723820700000000040100000C465B4E";
const Text kOther = "99999999999999999999999999999999";

TrackedItem paipai_row(const Text& keyword) {
  return {"0", keyword, "http://auction1.paipai.com/search/0/" + kCode + "-8B80.html", "", "", ""};
}

Settings settings_from(const Text& file_text) {
  testing::TempDir dir;
  testing::write_file(dir.file("s.ini"), file_text);
  return load_settings(dir.file("s.ini"));
}

RankingOptions paipai_options(const Settings& settings, std::int32_t pages) {
  RankingOptions options;
  options.page_count = pages;
  options.page_count_text = std::to_string(pages);
  options.search_address_parts = settings.search_address_parts;
  options.sort_choice = [] { return Text("77"); };
  apply_ranking_settings(settings, options);
  options.request_template.poll_count = 1;
  return options;
}

// The search pages go to a server standing in as the proxy: it sees the configured
// headers and credentials, and serves a markup only the configured pattern reads.
TEST(RankingSettings, RequestsAndRulesOfTheSettingsShapeTheRun) {
  LocalServer proxy;
  proxy.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(
        "<ul><li data-code=\"" + kOther + "\"></li><li data-code=\"" + kCode + "\"></li></ul>",
        "text/html");
  });
  proxy.start();
  const Settings settings = settings_from(
      "[" + gbk("搜索地址") + "]\r\n0=http://search.example/s?k=\r\n1=&o=\r\n2=&p=\r\n[" +
      gbk("请求") + "]\r\nCookie=sid=42\r\nUser-Agent=Mozilla/5.0 (X11)\r\n" +
      "Referer=http://search.example/\r\n" + gbk("代理=127.0.0.1:") + std::to_string(proxy.port()) +
      gbk("\r\n代理用户=seller\r\n代理密码=p:w\r\n") + "[" + gbk("规则") + "]\r\n" +
      gbk("拍拍列表=<li data-code=\"([A-Z0-9]+)\"\r\n"));
  ASSERT_TRUE(settings.problems.empty());

  WorkerPool pool;
  const RankingResult result =
      run_ranking({paipai_row("dress")}, paipai_options(settings, 1), {}, pool);
  ASSERT_EQ(result.outcomes.size(), 1u);
  EXPECT_EQ(result.outcomes[0].text, gbk("1页第2个"));

  const auto requests = proxy.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "http://search.example/s?k=dress&o=77&p=1");
  EXPECT_EQ(requests[0].header("Proxy-Authorization"), "Basic c2VsbGVyOnA6dw==");
  EXPECT_EQ(requests[0].header("Cookie"), "sid=42");
  EXPECT_EQ(requests[0].header("User-Agent"), "Mozilla/5.0 (X11)");
  EXPECT_EQ(requests[0].header("Referer"), "http://search.example/");
}

TEST(RankingSettings, PagesInFlightAndThePauseBetweenRows) {
  FakeMarketplace market;
  market.set_delay(std::chrono::milliseconds(30));
  std::mutex mutex;
  std::vector<Clock::time_point> row_starts;
  class RowClock : public RankingObserver {
   public:
    RowClock(std::mutex& mutex, std::vector<Clock::time_point>& starts)
        : mutex_(mutex), starts_(starts) {}
    void row_started(int, const TrackedItem&, std::int32_t) override {
      std::lock_guard lock(mutex_);
      starts_.push_back(Clock::now());
    }

   private:
    std::mutex& mutex_;
    std::vector<Clock::time_point>& starts_;
  } clock(mutex, row_starts);

  testing::TempDir dir;
  market.write_settings(dir.path());
  const std::filesystem::path file = dir.file("店长设置.ini");
  testing::write_file(file, testing::read_file(file) + "[" + gbk("请求") + "]\r\n" +
                                gbk("同时页数=2\r\n行间隔毫秒=200\r\n"));
  const Settings settings = load_settings(file);
  ASSERT_TRUE(settings.problems.empty());

  WorkerPool pool;
  const auto start = Clock::now();
  run_ranking({paipai_row("a"), paipai_row("b"), paipai_row("c")}, paipai_options(settings, 4),
              {&clock}, pool);
  ASSERT_EQ(row_starts.size(), 3u);
  EXPECT_LT(row_starts[0] - start, std::chrono::milliseconds(200)) << "no pause before the first";
  for (size_t row = 1; row < row_starts.size(); ++row) {
    EXPECT_GE(row_starts[row] - row_starts[row - 1], std::chrono::milliseconds(200)) << row;
  }
  EXPECT_EQ(market.most_in_flight(), 2);
  EXPECT_EQ(market.searches().size(), 12u);
}

}  // namespace
}  // namespace shop
