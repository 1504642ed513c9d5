#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>

#include "lists/list_file.h"
#include "support/core/list_lines.h"
#include "support/gui/list_view_input.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

namespace shop {
namespace {

using testing::click_below_rows;
using testing::click_row;
using testing::double_click_row;
using testing::gbk;
using testing::list_line;
using testing::read_file;
using testing::WindowHarness;
using testing::write_file;

const Text S = kColumnSeparator;

class ListCommands : public ::testing::Test {
 protected:
  void SetUp() override { harness.start(); }

  MainForm& form() { return harness.form(); }
  std::filesystem::path paipai_file() const { return harness.directory().file("拍拍排名.txt"); }
  std::filesystem::path taobao_file() const { return harness.directory().file("淘宝排名.txt"); }

  void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void add(const Text& keyword, const Text& address) {
    set_control_text(form().编辑框1, keyword);
    set_control_text(form().编辑框2, address);
    click(form().按钮1);
  }
  std::vector<Text> ids(const TrackingListView* view) const {
    std::vector<Text> cells;
    for (int row = 0; row < view->row_count(); ++row) {
      cells.push_back(view->cell(row, 0));
    }
    return cells;
  }

  testing::MessageRecorder messages;
  WindowHarness harness;
};

TEST_F(ListCommands, AddAndDeleteKeepIdsAndRewriteTheFileEachTime) {
  add(gbk("连衣裙"), "A");
  EXPECT_EQ(read_file(paipai_file()), list_line("0", gbk("连衣裙"), "A"));
  add("k", "B");
  add(" k ", " C ");  // taken as typed, no trimming
  const Text three =
      list_line("0", gbk("连衣裙"), "A") + list_line("1", "k", "B") + list_line("2", " k ", " C ");
  EXPECT_EQ(read_file(paipai_file()), three);
  EXPECT_EQ(control_text(form().编辑框1), " k ") << "the inputs keep their texts";

  form().超级列表框1->select_row(1);
  click(form().按钮3);
  EXPECT_EQ(read_file(paipai_file()),
            list_line("0", gbk("连衣裙"), "A") + list_line("2", " k ", " C "));
  add(" k ", " C ");  // duplicates are allowed; the new id is the row count before
  const Text final_file = list_line("0", gbk("连衣裙"), "A") + list_line("2", " k ", " C ") +
                          list_line("2", " k ", " C ");
  EXPECT_EQ(read_file(paipai_file()), final_file);

  harness.restart();
  EXPECT_EQ(ids(form().超级列表框1), (std::vector<Text>{"0", "2", "2"}));
  EXPECT_EQ(form().超级列表框1->cell(0, 1), gbk("连衣裙"));
  EXPECT_EQ(form().超级列表框1->cell(0, 2), "A");
  EXPECT_EQ(form().超级列表框1->cell(0, 3), "");
  EXPECT_EQ(read_file(paipai_file()), final_file);
  EXPECT_FALSE(std::filesystem::exists(taobao_file()));
}

TEST_F(ListCommands, EmptyInputShowsOneMessageBeforeLookingAtThePage) {
  const Message expected{gbk("以上内容不能为空!"), gbk("提示"), 64};
  const struct {
    const char* keyword;
    const char* address;
    int page;
  } cases[] = {{"", "A", 0}, {"k", "", 0}, {"", "", 1}, {"", "A", 2}, {"k", "", 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.keyword) + "|" + c.address + "|" + std::to_string(c.page));
    form().选择夹1->setCurrentIndex(c.page);
    add(c.keyword, c.address);
    EXPECT_EQ(messages.take(), std::vector<Message>{expected});
  }
  harness.restart();
  EXPECT_FALSE(std::filesystem::exists(paipai_file()));
  EXPECT_FALSE(std::filesystem::exists(taobao_file()));
  EXPECT_EQ(form().超级列表框1->row_count(), 0);
}

// Page 0 adds to the Paipai list, page 1 to the Taobao list, other pages do nothing.
TEST_F(ListCommands, AddActsOnTheListOfTheCurrentPage) {
  for (int page : {2, 3, 4}) {
    form().选择夹1->setCurrentIndex(page);
    add("k", "A");
    click(form().按钮3);
    click(form().按钮6);
    EXPECT_EQ(form().超级列表框1->row_count() + form().超级列表框2->row_count(), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(paipai_file()));
  EXPECT_FALSE(std::filesystem::exists(taobao_file()));

  form().选择夹1->setCurrentIndex(1);
  add("t", "T");
  EXPECT_EQ(read_file(taobao_file()), list_line("0", "t", "T"));
  EXPECT_FALSE(std::filesystem::exists(paipai_file()));

  harness.restart();
  EXPECT_EQ(form().超级列表框1->row_count(), 0);
  form().选择夹1->setCurrentIndex(1);
  EXPECT_EQ(ids(form().超级列表框2), std::vector<Text>{"0"});
}

TEST_F(ListCommands, DeleteWithNothingSelectedStillRewritesTheFile) {
  harness.stop();
  write_file(paipai_file(), "0" + S + "k" + S + "A");  // short line, no line break
  harness.start();
  ASSERT_EQ(form().超级列表框1->selected_row(), -1);
  click(form().按钮3);
  EXPECT_EQ(read_file(paipai_file()), list_line("0", "k", "A"));
  harness.restart();
  EXPECT_EQ(ids(form().超级列表框1), std::vector<Text>{"0"});
}

// A delete leaves no row selected, whether it removed the first row or the last, so a
// second click on 删除 removes nothing more.
TEST_F(ListCommands, ASecondDeleteClickRemovesNoFurtherRow) {
  harness.stop();
  write_file(paipai_file(), list_line("0", "a", "A") + list_line("1", "b", "B") +
                                list_line("2", "c", "C") + list_line("3", "d", "D"));
  harness.start();
  harness.window().show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&harness.window()));
  TrackingListView& view = *form().超级列表框1;
  const struct {
    int clicked_row;
    std::vector<Text> ids_left;
  } cases[] = {{0, {"1", "2", "3"}}, {2, {"1", "2"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clicked_row);
    click_row(view, c.clicked_row);
    ASSERT_EQ(view.selected_row(), c.clicked_row);
    click(form().按钮3);
    EXPECT_EQ(view.selected_row(), -1);
    click(form().按钮3);
    EXPECT_EQ(ids(&view), c.ids_left);
  }
  EXPECT_EQ(read_file(paipai_file()), list_line("1", "b", "B") + list_line("2", "c", "C"));
}

TEST_F(ListCommands, ClearListEmptiesOnlyTheListOfThePage) {
  harness.stop();
  write_file(paipai_file(), list_line("0", "p", "P") + list_line("1", "q", "Q"));
  write_file(taobao_file(), list_line("0", "t", "T"));
  harness.start();
  click(form().按钮6);
  EXPECT_EQ(form().超级列表框1->row_count(), 0);
  EXPECT_EQ(read_file(paipai_file()), "");
  EXPECT_EQ(read_file(taobao_file()), list_line("0", "t", "T"));

  harness.restart();
  EXPECT_EQ(form().超级列表框1->row_count(), 0);
  form().选择夹1->setCurrentIndex(1);
  EXPECT_EQ(ids(form().超级列表框2), std::vector<Text>{"0"});
}

TEST_F(ListCommands, ClearInputsOnAnyPageTouchesNoList) {
  harness.stop();
  write_file(taobao_file(), list_line("0", "t", "T"));
  harness.start();
  form().选择夹1->setCurrentIndex(3);
  click(form().按钮7);
  EXPECT_EQ(control_text(form().编辑框1), "");
  EXPECT_EQ(control_text(form().编辑框2), "");
  EXPECT_EQ(ids(form().超级列表框2), std::vector<Text>{"0"});
  EXPECT_EQ(read_file(taobao_file()), list_line("0", "t", "T"));

  harness.restart();
  EXPECT_EQ(control_text(form().编辑框1), "") << "the cleared inputs were stored";
  EXPECT_EQ(control_text(form().编辑框2), "");
}

TEST_F(ListCommands, ActivatingARowCopiesItBack) {
  harness.stop();
  const Text file = list_line("0", gbk("连衣裙"), "A") + list_line("1", "", "B");
  write_file(paipai_file(), file);
  harness.start();
  harness.window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&harness.window()));
  TrackingListView& view = *form().超级列表框1;
  double_click_row(view, 0);
  EXPECT_EQ(control_text(form().编辑框1), gbk("连衣裙"));
  EXPECT_EQ(control_text(form().编辑框2), "A");
  double_click_row(view, 1);  // an empty keyword empties the box
  EXPECT_EQ(control_text(form().编辑框1), "");
  EXPECT_EQ(control_text(form().编辑框2), "B");
  EXPECT_EQ(read_file(paipai_file()), file);

  harness.restart();
  EXPECT_EQ(control_text(form().编辑框1), "");
  EXPECT_EQ(control_text(form().编辑框2), "B");
  EXPECT_EQ(form().超级列表框1->row_count(), 2);
}

TEST_F(ListCommands, EnterOnATaobaoRowCopiesItBack) {
  harness.stop();
  write_file(taobao_file(), list_line("0", "t", "T"));
  harness.start();
  harness.window().show();
  form().选择夹1->setCurrentIndex(1);
  form().超级列表框2->select_row(0);
  QTest::keyClick(form().超级列表框2, Qt::Key_Return);
  EXPECT_EQ(control_text(form().编辑框1), "t");
  EXPECT_EQ(control_text(form().编辑框2), "T");
}

// Enter copies back the selected row; a row that only has the keyboard focus is not
// taken.
TEST_F(ListCommands, EnterWithNoRowSelectedCopiesNothing) {
  harness.stop();
  write_file(paipai_file(), list_line("0", "a", "A") + list_line("1", "b", "B"));
  harness.start();
  harness.window().show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&harness.window()));
  TrackingListView& view = *form().超级列表框1;
  const std::pair<const char*, std::function<void()>> ways_to_leave_no_row_selected[] = {
      {"click below the rows", [&] { click_below_rows(view); }},
      {"Ctrl-click the selected row",
       [&] {
         QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier,
                           view.visualItemRect(view.topLevelItem(0)).center());
       }},
  };
  for (const auto& [way, leave_no_row_selected] : ways_to_leave_no_row_selected) {
    SCOPED_TRACE(way);
    set_control_text(form().编辑框1, "k");
    set_control_text(form().编辑框2, "u");
    click_row(view, 0);
    leave_no_row_selected();
    ASSERT_EQ(view.selected_row(), -1);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(control_text(form().编辑框1), "k");
    EXPECT_EQ(control_text(form().编辑框2), "u");
  }
  click_row(view, 1);
  QTest::keyClick(&view, Qt::Key_Return);
  EXPECT_EQ(control_text(form().编辑框1), "b");
  EXPECT_EQ(control_text(form().编辑框2), "B");
}

TEST_F(ListCommands, OpenButtonSendsThePercentEncodedKeywordToTheBrowser) {
  testing::BrowserRecorder browser;
  const Text tail = "&sClassid=0&shoptype=&searchType=0&PTAG=20084.2.2&PageNum=1";
  set_control_text(form().编辑框1, gbk("连衣裙"));
  form().选择夹1->setCurrentIndex(3);  // on any page
  click(form().按钮4);
  EXPECT_EQ(browser.take(),
            std::vector<Text>{"http://search1.paipai.com/cgi-bin/comm_search1?KeyWord="
                              "%C1%AC%D2%C2%C8%B9" +
                              tail});

  harness.stop();
  write_file(harness.directory().file("店长设置.ini"),
             "[" + gbk("站点") + "]\r\n" + gbk("拍拍搜索站") + "=http://127.0.0.1:9\r\n");
  harness.start();
  set_control_text(form().编辑框1, "");
  click(form().按钮4);
  EXPECT_EQ(browser.take(),
            std::vector<Text>{"http://127.0.0.1:9/cgi-bin/comm_search1?KeyWord=" + tail});
}

}  // namespace
}  // namespace shop
