#include <gtest/gtest.h>

#include <QTest>
#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "support/core/fake_shops.h"
#include "support/core/proxy_environment.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"
#include "web/page_fetch.h"

namespace shop {
namespace {

using testing::FakeShops;
using testing::gbk;
using testing::MessageRecorder;
using testing::paipai_shop_page;
using testing::ShopLink;
using testing::taobao_shop_page;
using testing::wait_until;
using testing::WindowHarness;

using Row = std::array<Text, 4>;

// Proxy variables of the machine must not send the loopback requests elsewhere.
class NoProxyEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { testing::clear_proxy_environment(); }
};
const auto* const kNoProxy = ::testing::AddGlobalTestEnvironment(new NoProxyEnvironment);

const Text kChecking = gbk("检测中");
const Text kYes = gbk("√");
const Text kNo = gbk("×");

// A fetch that fails is tried again without pausing, so unreachable pages fail fast.
FetchTuning quick_failures() {
  FetchTuning tuning;
  tuning.poll_pause = std::chrono::milliseconds(0);
  return tuning;
}

class FriendLinkCheck : public ::testing::Test {
 protected:
  void SetUp() override { harness.start(); }
  void TearDown() override { release = true; }

  // Keeps the answer to `target` back until `release` (for at most 10 s).
  void hold_answer(const std::string& target) {
    shops.on_request([this, target](const std::string& requested) {
      if (requested == target) {
        held = true;
        for (int i = 0; i < 10000 && !release; ++i) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
      }
    });
  }

  // Types the address, clicks the button and waits until the run has ended.
  void run_check(const Text& address) {
    set_control_text(form().店铺地址, address);
    QTest::mouseClick(form().按钮_友情检测, Qt::LeftButton);
    wait_for_run();
  }
  // A run never outlives the test: its thread reaches the window until it ends.
  void wait_for_run() {
    ASSERT_TRUE(wait_until([&] { return button()->isEnabled(); }));
  }

  MainForm& form() { return harness.form(); }
  QPushButton* button() { return form().按钮_友情检测; }
  std::vector<Row> rows() {
    std::vector<Row> cells;
    TrackingListView* list = form().超级列表框3;
    for (int row = 0; row < list->row_count(); ++row) {
      cells.push_back(
          {list->cell(row, 0), list->cell(row, 1), list->cell(row, 2), list->cell(row, 3)});
    }
    return cells;
  }

  ScopedFetchTuning tuning{quick_failures()};
  std::atomic<bool> held{false};
  std::atomic<bool> release{false};
  MessageRecorder messages;
  FakeShops shops;
  WindowHarness harness;
};

TEST_F(FriendLinkCheck, ListsTheFriendsAndMarksEachRowWhenItsPageHasCome) {
  const Text shop = shops.url("/shop.taobao.com");
  const Text a = shops.url("/a.taobao.com");
  const Text b = shops.url("/b.taobao.com");
  const Text c = shops.url("/c.taobao.com");
  shops.put("/shop.taobao.com",
            taobao_shop_page({{a, gbk("甲店")}, {b, gbk("<b>乙店</b>")}, {c, "C"}}));
  shops.put("/a.taobao.com", "<a href=\"" + shop + "\">back</a>");
  shops.put("/b.taobao.com", "friends: " + shop + " and others");
  shops.put("/c.taobao.com", "no link back here");

  // Hold the answer for b back: the rows on either side get their marks meanwhile.
  hold_answer("/b.taobao.com");
  set_control_text(form().店铺地址, shop);
  QTest::mouseClick(button(), Qt::LeftButton);
  EXPECT_FALSE(button()->isEnabled());
  ASSERT_TRUE(wait_until([&] { return held.load(); }));
  ASSERT_TRUE(wait_until(
      [&] { return rows().size() == 3 && rows()[0][3] == kYes && rows()[2][3] == kNo; }));
  EXPECT_EQ(rows()[1][3], kChecking);
  EXPECT_FALSE(button()->isEnabled()) << "the button waits for every row";
  release = true;
  wait_for_run();

  EXPECT_EQ(rows(), (std::vector<Row>{{"0", a, gbk("甲店"), kYes},
                                      {"1", b, gbk("<b>乙店</b>"), kYes},
                                      {"2", c, "C", kNo}}));
  EXPECT_EQ(shops.hits("/shop.taobao.com"), 1);
}

// Thirty friends answering after 100 ms each: ten pages are in flight at once,
// never more, and every row gets the mark its own page gives.
TEST_F(FriendLinkCheck, FetchesTenFriendPagesAtATime) {
  constexpr int kFriends = 30;
  const Text shop = shops.url("/shop.taobao.com");
  std::vector<ShopLink> links;
  std::vector<Row> expected;
  for (int i = 0; i < kFriends; ++i) {
    const std::string path = "/f" + std::to_string(i) + ".taobao.com";
    links.push_back({shops.url(path), "F" + std::to_string(i)});
    const bool linked = i % 3 != 0;
    shops.put(path, linked ? "see " + shop : "nothing");
    expected.push_back(
        {std::to_string(i), shops.url(path), links.back().name, linked ? kYes : kNo});
  }
  shops.put("/shop.taobao.com", taobao_shop_page(links));
  std::atomic<int> in_flight{0};
  std::atomic<int> most_in_flight{0};
  shops.on_request([&](const std::string& target) {
    if (target.rfind("/f", 0) != 0) {
      return;
    }
    const int now = ++in_flight;
    for (int most = most_in_flight;
         now > most && !most_in_flight.compare_exchange_weak(most, now);) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    --in_flight;
  });
  run_check(shop);

  EXPECT_EQ(rows(), expected);
  EXPECT_EQ(most_in_flight.load(), 10);
  for (int i = 0; i < kFriends; ++i) {
    EXPECT_EQ(shops.hits("/f" + std::to_string(i) + ".taobao.com"), 1) << i;
  }
}

TEST_F(FriendLinkCheck, PaipaiShopThroughTheShopHost) {
  // The Paipai shop host resolves to the test server, used as the HTTP proxy.
  const testing::ScopedHttpProxy proxy(shops.proxy_address());
  shops.put("http://shop.paipai.com/100",
            paipai_shop_page(
                {{"http://shop.paipai.com/200", "two"}, {"http://shop.paipai.com/", "no digits"}}));
  shops.put("http://shop.paipai.com/200", "see http://shop.paipai.com/100 too");
  shops.put("http://shop.paipai.com/", "nothing");
  run_check("http://shop.paipai.com/100");

  EXPECT_EQ(rows(), (std::vector<Row>{{"0", "http://shop.paipai.com/200", "two", kYes},
                                      {"1", "http://shop.paipai.com/", "no digits", kNo}}));
}

// Link markup matches in any letter case; the domain test on the typed address
// does not.
TEST_F(FriendLinkCheck, LetterCaseInMarkupAndInTheTypedAddress) {
  const Text friend_address = shops.url("/A.TAOBAO.COM");
  const Text block = gbk("<span>友情链接</span>") + "<LI><A HREF=\"" + friend_address +
                     "\"  TARGET=\"_BLANK\">Big</A></LI>\n</div>\n</div>";
  shops.put("/shop.taobao.com", block);
  shops.put("/shop.TAOBAO.com", block);
  shops.put("/A.TAOBAO.COM", "no link back");

  run_check(shops.url("/shop.taobao.com"));
  EXPECT_EQ(rows(), (std::vector<Row>{{"0", friend_address, "Big", kNo}}));

  run_check(shops.url("/shop.TAOBAO.com"));
  EXPECT_TRUE(rows().empty());
  EXPECT_EQ(shops.hits("/shop.TAOBAO.com"), 1) << "the page is fetched all the same";
}

TEST_F(FriendLinkCheck, SameFriendTwiceIsFetchedTwice) {
  const Text shop = shops.url("/shop.taobao.com");
  const Text a = shops.url("/a.taobao.com");
  shops.put("/shop.taobao.com", taobao_shop_page({{a, "A"}, {a, "A again"}}));
  shops.put("/a.taobao.com", shop);
  run_check(shop);

  EXPECT_EQ(rows(), (std::vector<Row>{{"0", a, "A", kYes}, {"1", a, "A again", kYes}}));
  EXPECT_EQ(shops.hits("/a.taobao.com"), 2);
}

// The link-back test looks for the typed address less one trailing slash, with
// exact bytes.
TEST_F(FriendLinkCheck, LinkBackTest) {
  const Text base = shops.url("/shop.taobao.com");
  struct Case {
    Text slashes;  // typed after the address
    Text friend_page;
    Text status;
  };
  const Case cases[] = {
      {"", "<a href=\"" + base + "\">", kYes},
      {"/", "<a href=\"" + base + "\">", kYes},
      {"//", "<a href=\"" + base + "/\">", kYes},
      {"//", "<a href=\"" + base + "\">", kNo},
      {"", "<a href=\"" + shops.url("/SHOP.TAOBAO.COM") + "\">", kNo},
  };
  const Text a = shops.url("/a.taobao.com");
  for (const Case& c : cases) {
    SCOPED_TRACE("typed with \"" + c.slashes + "\", friend page " + c.friend_page);
    shops.put("/shop.taobao.com" + c.slashes, taobao_shop_page({{a, "A"}}));
    shops.put("/a.taobao.com", c.friend_page);
    run_check(base + c.slashes);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0][3], c.status);
  }
}

// "失败" for a page that could not be fetched: no answer, an error status (even
// with a page that links back), or no body; "×" only for a page without the link.
TEST_F(FriendLinkCheck, PagesThatCannotBeFetchedShowFailed) {
  const Text shop = shops.url("/shop.taobao.com");
  const Text gone =
      "http://127.0.0.1:" + std::to_string(test_support::unused_local_port()) + "/x.taobao.com";
  const Text missing = shops.url("/missing.taobao.com");
  const Text broken = shops.url("/broken.taobao.com");
  const Text empty = shops.url("/empty.taobao.com");
  const Text plain = shops.url("/plain.taobao.com");
  const Text a = shops.url("/a.taobao.com");
  shops.put("/shop.taobao.com", taobao_shop_page({{gone, "gone"},
                                                  {missing, "missing"},
                                                  {broken, "broken"},
                                                  {empty, "empty"},
                                                  {plain, "plain"},
                                                  {a, "A"}}));
  shops.put("/broken.taobao.com", "error page quoting " + shop, 500);
  shops.put("/empty.taobao.com", "");
  shops.put("/plain.taobao.com", "no link back");
  shops.put("/a.taobao.com", shop);
  run_check(shop);

  const Text failed = gbk("失败");
  EXPECT_EQ(rows(), (std::vector<Row>{{"0", gone, "gone", failed},
                                      {"1", missing, "missing", failed},
                                      {"2", broken, "broken", failed},
                                      {"3", empty, "empty", failed},
                                      {"4", plain, "plain", kNo},
                                      {"5", a, "A", kYes}}));
}

// No list, no message: an address of neither marketplace, a missing shop page, a
// page without the block.
TEST_F(FriendLinkCheck, NothingToListClearsTheListWithoutAMessage) {
  const Text shop = shops.url("/shop.taobao.com");
  shops.put("/shop.taobao.com", taobao_shop_page({{shops.url("/a.taobao.com"), "A"}}));
  shops.put("/shop.example", taobao_shop_page({{shops.url("/a.taobao.com"), "A"}}));
  shops.put("/plain.taobao.com", "<html>no friends</html>");
  for (const Text& address : {shops.url("/shop.example"), shops.url("/missing.taobao.com"),
                              shops.url("/plain.taobao.com")}) {
    SCOPED_TRACE(address);
    run_check(shop);
    ASSERT_EQ(rows().size(), 1u);
    run_check(address);
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(button()->isEnabled());
  }
}

TEST_F(FriendLinkCheck, EmptyAddressShowsTheMessageAndChangesNothing) {
  form().超级列表框3->set_cell(form().超级列表框3->append_row(), 1, "kept");
  set_control_text(form().店铺地址, "");
  QTest::mouseClick(button(), Qt::LeftButton);

  EXPECT_EQ(messages.take(), (std::vector<Message>{{gbk("请先添加店铺信息"), gbk("提示"), 64}}));
  EXPECT_TRUE(button()->isEnabled());
  EXPECT_EQ(rows(), (std::vector<Row>{{"", "kept", "", ""}}));
  EXPECT_EQ(shops.server().request_count(), 0u);

  set_control_text(form().店铺地址, " ");  // blanks count as an address
  QTest::mouseClick(button(), Qt::LeftButton);
  wait_for_run();
  EXPECT_TRUE(rows().empty());
}

TEST_F(FriendLinkCheck, ClicksDuringARunStartNoSecondRun) {
  const Text shop = shops.url("/shop.taobao.com");
  shops.put("/shop.taobao.com", taobao_shop_page({{shops.url("/a.taobao.com"), "A"}}));
  shops.put("/a.taobao.com", shop);
  set_control_text(form().店铺地址, shop);
  QTest::mouseDClick(button(), Qt::LeftButton);
  QTest::mouseClick(button(), Qt::LeftButton);
  wait_for_run();

  EXPECT_EQ(shops.hits("/shop.taobao.com"), 1);
  EXPECT_EQ(rows().size(), 1u);
  run_check(shop);  // and the button works again afterwards
  EXPECT_EQ(shops.hits("/shop.taobao.com"), 2);
}

}  // namespace
}  // namespace shop
