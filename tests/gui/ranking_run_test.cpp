#include <gtest/gtest.h>

#include <QTimer>
#include <set>

#include "lists/list_file.h"
#include "support/core/fake_marketplace.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

namespace shop {
namespace {

using test_support::FakeMarketplace;
using testing::gbk;
using testing::read_file;
using testing::write_file;

const Text kCodeA = "9723820700000000040100000C465B4E";
const Text kCodeB = "11111111111111111111111111111111";
const Text kCodeC = "22222222222222222222222222222222";
const Text kOther = "99999999999999999999999999999999";

Text paipai_address(const Text& code) {
  return "http://auction1.paipai.com/search/0/" + code + "-8B80.html";
}

Text taobao_address(const Text& id) {
  return "http://item.taobao.com/item.htm?spm=a&id=" + id;
}

// Columns 3 to 5 of a row: the position and the two before it.
using Positions = std::array<Text, 3>;

class RankingRun : public ::testing::Test {
 protected:
  // The marketplace outlives the window, whose page tasks talk to it.
  FakeMarketplace market;
  testing::WindowHarness harness;
  testing::MessageRecorder messages;

  void start(const std::vector<TrackedItem>& paipai, const std::vector<TrackedItem>& taobao = {}) {
    market.write_settings(harness.directory().path());
    if (!paipai.empty()) {
      write_file(harness.directory().file("拍拍排名.txt"), format_list_text(paipai));
    }
    if (!taobao.empty()) {
      write_file(harness.directory().file("淘宝排名.txt"), format_list_text(taobao));
    }
    harness.start();
  }

  MainForm& form() { return harness.form(); }

  // Clicks 按钮2 with `pages` in 组合框1; the click returns once the run is over.
  void run_check(const Text& pages) {
    set_control_text(form().组合框1, pages);
    form().按钮2->click();
  }

  std::vector<Positions> positions(const TrackingListView* view) {
    std::vector<Positions> rows;
    for (int row = 0; row < view->row_count(); ++row) {
      rows.push_back({view->cell(row, 3), view->cell(row, 4), view->cell(row, 5)});
    }
    return rows;
  }

  std::vector<TrackedItem> list_file(const char* name) {
    return parse_list_text(read_file(harness.directory().file(name)));
  }

  std::set<int> pages_searched(const Text& keyword) {
    std::set<int> pages;
    for (const auto& search : market.searches_for(keyword)) {
      EXPECT_TRUE(pages.insert(search.page).second) << "page " << search.page << " twice";
    }
    return pages;
  }
};

std::set<int> one_to(int last) {
  std::set<int> pages;
  for (int page = 1; page <= last; ++page) {
    pages.insert(page);
  }
  return pages;
}

// Three rows over three runs: found first on page 1, found on page 2 (listed twice
// there), never found; the positions move along one column per run and the list
// file holds them after each run.
TEST_F(RankingRun, ThreeRowsOverThreeRuns) {
  start({{"0", gbk("连衣裙"), paipai_address(kCodeA), "", "", ""},
         {"1", "k2", paipai_address(kCodeB), "", "", ""},
         {"2", "k3", paipai_address(kCodeC), "", "", ""}});
  market.set_paipai_page(gbk("连衣裙"), "77", 1, FakeMarketplace::paipai_page({kCodeA, kOther}));
  market.set_paipai_page("k2", "77", 2,
                         FakeMarketplace::paipai_page({kOther, kOther, kCodeB, kCodeB}));
  TrackingListView* list = form().超级列表框1;

  run_check("20");
  const Text first = gbk("1页第1个"), second = gbk("2页第3个");
  EXPECT_EQ(positions(list), (std::vector<Positions>{
                                 {first, "", ""}, {second, "", ""}, {gbk("不在20页内"), "", ""}}));
  EXPECT_EQ(pages_searched("k3"), one_to(20));
  EXPECT_EQ(form().进度条2->value(), 3);
  EXPECT_EQ(form().进度条2->maximum(), 3);
  EXPECT_TRUE(form().按钮2->isEnabled());

  market.set_paipai_page(gbk("连衣裙"), "77", 1, FakeMarketplace::paipai_page({kOther, kCodeA}));
  run_check("5");
  run_check("10");
  const Text moved = gbk("1页第2个");
  const std::vector<Positions> expected = {
      {moved, moved, first},
      {second, second, second},
      {gbk("不在10页内"), gbk("不在5页内"), gbk("不在20页内")}};
  EXPECT_EQ(positions(list), expected);
  const std::vector<TrackedItem> saved = list_file("拍拍排名.txt");
  ASSERT_EQ(saved.size(), 3u);
  for (size_t row = 0; row < saved.size(); ++row) {
    EXPECT_EQ((Positions{saved[row][3], saved[row][4], saved[row][5]}), expected[row]) << row;
    EXPECT_EQ(saved[row][2], list->cell(static_cast<int>(row), 2));
  }
}

// A row whose page the marketplace refuses ends as 查询失败, not as a result; the run
// goes on and the other rows keep their texts.
TEST_F(RankingRun, ARowWithARefusedPageShowsTheFailure) {
  start({{"0", "refused", paipai_address(kCodeA), "1", "2", "3"},
         {"1", "k2", paipai_address(kCodeB), "", "", ""}});
  market.set_status("refused", 2, 503);
  market.set_paipai_page("k2", "77", 1, FakeMarketplace::paipai_page({kCodeB}));
  run_check("3");
  const std::vector<Positions> expected = {{gbk("查询失败"), "1", "2"}, {gbk("1页第1个"), "", ""}};
  EXPECT_EQ(positions(form().超级列表框1), expected);
  EXPECT_EQ(list_file("拍拍排名.txt")[0][3], gbk("查询失败"));
  EXPECT_EQ(form().进度条2->value(), 2);
}

TEST_F(RankingRun, AnEmptyListAsksForARowAndSavesNothing) {
  start({});
  run_check("10");
  EXPECT_EQ(messages.take(),
            (std::vector<Message>{{gbk("请先添加一条要检测的数据"), gbk("提示"), 64}}));
  EXPECT_TRUE(form().按钮2->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(harness.directory().file("拍拍排名.txt")));
  EXPECT_TRUE(market.searches().empty());
}

TEST_F(RankingRun, PagesTwoToFourStartNothing) {
  const TrackedItem row = {"0", "t", taobao_address("5"), "x", "y", "z"};
  start({}, {row});
  for (const int page : {2, 3, 4}) {
    SCOPED_TRACE(page);
    form().选择夹1->setCurrentIndex(page);
    run_check("10");
    EXPECT_EQ(positions(form().超级列表框2), (std::vector<Positions>{{"x", "y", "z"}}));
    EXPECT_EQ(form().进度条2->value(), 0);
    EXPECT_TRUE(form().按钮2->isEnabled());
  }
  EXPECT_TRUE(market.searches().empty());
  EXPECT_EQ(list_file("淘宝排名.txt"), (std::vector<TrackedItem>{row}));
}

// Without exactly one item code in the address the row is still searched, and ends
// as not found.
TEST_F(RankingRun, AnAddressWithoutOneItemCodeShowsTheCodeMessage) {
  start({{"0", "k", "http://a/" + kCodeA + "/" + kCodeB, "", "", ""},
         {"1", "n", "http://a/none.html", "", "", ""}});
  run_check("3");
  const Message failed{gbk("提取宝贝特征码失败"), gbk("信息："), 0};
  EXPECT_EQ(messages.take(), (std::vector<Message>{failed, failed}));
  EXPECT_EQ(positions(form().超级列表框1),
            (std::vector<Positions>{{gbk("不在3页内"), "", ""}, {gbk("不在3页内"), "", ""}}));
  EXPECT_EQ(pages_searched("k"), one_to(3));
}

TEST_F(RankingRun, PaipaiSortCodesReachTheSearch) {
  start({{"0", "k", paipai_address(kCodeA), "", "", ""}});
  const struct {
    QRadioButton* button;
    const char* code;
  } cases[] = {
      {form().人气, "21"}, {form().销量, "24"}, {form().价格, "6"},
      {form().信用, "9"},  {form().默认, "77"}, {nullptr, "77"},
  };
  for (const auto& c : cases) {
    if (c.button != nullptr) {
      c.button->setChecked(true);
    } else {
      for (QRadioButton* button :
           {form().默认, form().人气, form().销量, form().价格, form().信用}) {
        button->setAutoExclusive(false);
        button->setChecked(false);
      }
    }
    run_check("1");
    const auto searches = market.searches();
    ASSERT_FALSE(searches.empty());
    EXPECT_EQ(searches.back().sort, c.code);
  }
  EXPECT_EQ(market.searches().size(), std::size(cases));
}

TEST_F(RankingRun, TaobaoSortParametersReachTheSearch) {
  start({}, {{"0", "k", taobao_address("5"), "", "", ""}});
  form().选择夹1->setCurrentIndex(1);
  const struct {
    QRadioButton* button;
    const char* ending;
  } cases[] = {
      {form().信用1, "&s=0&sort=credit-desc"},
      {form().人气1, "&s=0&sort=renqi-desc"},
      {form().总价, "&s=0&sort=total-asc"},
      {form().销量1, "&s=0&sort=sale-desc"},
      {form().价格1, "&s=0&sort=price-asc"},
      {form().默认1, "&s=0"},
      {nullptr, "&s=0"},
  };
  for (const auto& c : cases) {
    if (c.button != nullptr) {
      c.button->setChecked(true);
    } else {
      for (QRadioButton* button :
           {form().人气1, form().默认1, form().价格1, form().销量1, form().总价, form().信用1}) {
        button->setAutoExclusive(false);
        button->setChecked(false);
      }
    }
    run_check("1");
    const auto targets = market.targets();
    ASSERT_FALSE(targets.empty());
    EXPECT_TRUE(targets.back().ends_with(c.ending)) << targets.back() << " vs " << c.ending;
  }
}

// Item offsets 0, 40, 80; only listings inside the result block count; a page
// without the block's end marker lists nothing; an address without an id matches
// no listing, not even one with an empty id.
TEST_F(RankingRun, TaobaoRowsCountTheResultBlockOnly) {
  start({}, {{"0", "t1", taobao_address("777"), "", "", ""},
             {"1", "t2", taobao_address("777"), "", "", ""},
             {"2", "t3", "http://item.taobao.com/item.htm?spm=a", "", "", ""}});
  form().选择夹1->setCurrentIndex(1);
  market.set_taobao_page("t1", "", 0, FakeMarketplace::taobao_page({"1"}, {"777"}));
  market.set_taobao_page(
      "t1", "", 80,
      FakeMarketplace::taobao_page({"1", "2", "3", "4", "5", "6", "777", "777"}, {"777"}));
  market.set_taobao_page("t2", "", 0, "dynamic:{\"nid\":\"777\"}");
  market.set_taobao_page("t3", "", 0, FakeMarketplace::taobao_page({"1", ""}));
  run_check("3");
  EXPECT_EQ(positions(form().超级列表框2), (std::vector<Positions>{{gbk("3页第7个"), "", ""},
                                                                   {gbk("不在3页内"), "", ""},
                                                                   {gbk("不在3页内"), "", ""}}));
  EXPECT_EQ(pages_searched("t1"), (std::set<int>{0, 40, 80}));
  EXPECT_EQ(list_file("淘宝排名.txt")[0][3], gbk("3页第7个"));
}

// Page counts that give no page end the row at once with the box's text; leading
// spaces and trailing text are read past; a huge count ends as soon as the item is
// found, without queuing its pages.
TEST_F(RankingRun, PageCountsOutOfTheOrdinary) {
  start({{"0", "k", paipai_address(kCodeA), "", "", ""}});
  const struct {
    Text pages;
    Text position;
    size_t searches;
  } cases[] = {
      {"0", gbk("不在0页内"), 0},     {"abc", gbk("不在abc页内"), 0},   {"", gbk("不在页内"), 0},
      {" 2x", gbk("不在 2x页内"), 2}, {"99999999", gbk("1页第1个"), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pages);
    market.set_paipai_page("k", "77", 1,
                           FakeMarketplace::paipai_page({c.pages == "99999999" ? kCodeA : kOther}));
    const size_t before = market.searches().size();
    run_check(c.pages);
    EXPECT_EQ(form().超级列表框1->cell(0, 3), c.position);
    const size_t searched = market.searches().size() - before;
    if (c.pages == "99999999") {
      EXPECT_LT(searched, 200u);
    } else {
      EXPECT_EQ(searched, c.searches);
    }
    EXPECT_EQ(form().进度条2->value(), 1);
    EXPECT_TRUE(form().按钮2->isEnabled());
  }
}

// While a run lasts the list commands are disabled, and turning the pages neither
// empties nor reloads the list under the run; the results land in their rows.
TEST_F(RankingRun, EditsAndPageChangesDuringARunLeaveTheRunsListAlone) {
  start({{"0", "p1", paipai_address(kCodeA), "", "", ""},
         {"1", "p2", paipai_address(kCodeB), "", "", ""}},
        {{"0", "t", taobao_address("1"), "x", "", ""}});
  market.set_paipai_page("p1", "77", 1, FakeMarketplace::paipai_page({kCodeA}));
  market.set_paipai_page("p2", "77", 1, FakeMarketplace::paipai_page({kOther, kCodeB}));
  market.set_delay(std::chrono::milliseconds(300));
  bool checked = false;
  QTimer::singleShot(100, [&] {
    MainForm& f = form();
    EXPECT_FALSE(f.按钮1->isEnabled());
    EXPECT_FALSE(f.按钮2->isEnabled());
    EXPECT_FALSE(f.按钮3->isEnabled());
    EXPECT_FALSE(f.按钮6->isEnabled());
    f.超级列表框1->select_row(0);
    f.按钮3->click();
    f.选择夹1->setCurrentIndex(1);
    EXPECT_EQ(f.超级列表框2->row_count(), 1);
    f.选择夹1->setCurrentIndex(0);
    EXPECT_EQ(f.超级列表框2->row_count(), 0);
    ASSERT_EQ(f.超级列表框1->row_count(), 2);
    EXPECT_EQ(f.超级列表框1->cell(0, 3), gbk("计算中...")) << "not reloaded from the file";
    f.选择夹1->setCurrentIndex(1);
    checked = true;
  });
  run_check("1");
  ASSERT_TRUE(checked);

  EXPECT_EQ(form().超级列表框1->row_count(), 0) << "emptied once its page is no longer shown";
  EXPECT_EQ(positions(form().超级列表框2), (std::vector<Positions>{{"x", "", ""}}));
  const std::vector<TrackedItem> saved = list_file("拍拍排名.txt");
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0][3], gbk("1页第1个"));
  EXPECT_EQ(saved[1][3], gbk("1页第2个"));
  for (QPushButton* button : {form().按钮1, form().按钮2, form().按钮3, form().按钮6}) {
    EXPECT_TRUE(button->isEnabled());
  }
}

}  // namespace
}  // namespace shop
