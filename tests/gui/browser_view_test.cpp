#include "ui/browser_view.h"

#include <gtest/gtest.h>

#include "support/core/local_server.h"
#include "support/core/temp_dir.h"
#include "support/gui/window_harness.h"
#include "web/fetch_tuning.h"

namespace shop {
namespace {

using testing::wait_until;

TEST(BrowserView, ShowsRemotePagesAndKeepsThePageWhenAFetchFails) {
  FetchTuning fast;
  fast.poll_pause = std::chrono::milliseconds(0);
  ScopedFetchTuning tuning(fast);
  test_support::LocalServer server;
  server.server().Get("/page", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("<html><head><meta charset=\"gbk\"></head><body>" +
                             testing::gbk("店铺公告") + "<script>document.write('x')</script>" +
                             "</body></html>",
                         "text/html");
  });
  server.start();

  BrowserView view;
  view.navigate(server.url("/page"));
  ASSERT_TRUE(
      wait_until([&] { return view.toPlainText().contains(QString::fromUtf8("店铺公告")); }));
  EXPECT_FALSE(view.toPlainText().contains("document.write"))
      << "scripts are neither run nor shown";

  view.navigate("http://127.0.0.1:" + std::to_string(test_support::unused_local_port()) + "/");
  testing::wait_until([] { return false; }, 300);
  EXPECT_TRUE(view.toPlainText().contains(QString::fromUtf8("店铺公告")));
}

}  // namespace
}  // namespace shop
