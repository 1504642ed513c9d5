#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include "history/history_dialog.h"
#include "history/history_store.h"
#include "lists/list_file.h"
#include "support/core/fake_marketplace.h"
#include "support/core/history_records.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

namespace shop {
namespace {

using testing::failed_record;
using testing::found_record;
using testing::gbk;
using testing::not_within_record;

template <class Series>
std::vector<Series*> series_of(QChart* chart) {
  std::vector<Series*> found;
  for (QAbstractSeries* series : chart->series()) {
    if (auto* typed = qobject_cast<Series*>(series);
        typed && typed->metaObject() == &Series::staticMetaObject) {
      found.push_back(typed);
    }
  }
  return found;
}

std::vector<qreal> heights(const QXYSeries* series) {
  std::vector<qreal> ys;
  for (const QPointF& point : series->points()) {
    ys.push_back(point.y());
  }
  return ys;
}

QStringList column(const QTableWidget* table, int column) {
  QStringList cells;
  for (int row = 0; row < table->rowCount(); ++row) {
    cells << table->item(row, column)->text();
  }
  return cells;
}

HistoryDialog* open_dialog() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* dialog = qobject_cast<HistoryDialog*>(widget); dialog && dialog->isVisible()) {
      return dialog;
    }
  }
  return nullptr;
}

class HistoryDialogTest : public ::testing::Test {
 protected:
  testing::WindowHarness harness;
  testing::MessageRecorder messages;

  void TearDown() override {
    while (HistoryDialog* dialog = open_dialog()) {
      dialog->close();
    }
  }
};

// A right-click on a row of the Taobao list opens the item's history: the line
// runs through the found checks and the bottom edge, a failed check sits apart.
TEST_F(HistoryDialogTest, ContextMenuOpensTheChartOfTheRowsItem) {
  testing::write_file(harness.directory().file("淘宝排名.txt"),
                      format_list_text({{"0", gbk("连衣裙"), "A", "", "", ""},
                                        {"1", gbk("连衣裙"), "B", "", "", ""}}));
  {
    auto store = HistoryStore::open(history_file());
    for (const CheckRecord& record : {found_record(0, 43), not_within_record(1), failed_record(2),
                                      found_record(3, 7), found_record(1, 2, "B")}) {
      store->add(record);
    }
  }
  harness.start();
  harness.form().选择夹1->setCurrentIndex(1);
  TrackingListView& view = *harness.form().超级列表框2;
  ASSERT_EQ(view.row_count(), 2);

  const QPoint row_place = view.visualItemRect(view.topLevelItem(0)).center();
  emit view.customContextMenuRequested(row_place);
  auto* menu = view.findChild<QMenu*>();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("排名历史…"));
  menu->actions()[0]->trigger();
  menu->close();

  HistoryDialog* dialog = open_dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->isModal());
  QChart* chart = dialog->chart();
  const auto lines = series_of<QLineSeries>(chart);
  const auto marks = series_of<QScatterSeries>(chart);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(marks.size(), 2u);
  const qreal bottom = 10 * 40 + 1;
  EXPECT_EQ(heights(lines[0]), (std::vector<qreal>{43, bottom, 7}));
  EXPECT_EQ(heights(marks[0]), std::vector<qreal>{bottom});  // not within 10 pages
  EXPECT_EQ(marks[0]->name(), QString::fromUtf8("不在10页内"));
  ASSERT_EQ(marks[1]->count(), 1);  // failed, below the bottom edge
  EXPECT_GT(marks[1]->at(0).y(), bottom);
  auto* rank_axis = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
  ASSERT_NE(rank_axis, nullptr);
  EXPECT_TRUE(rank_axis->isReverse());
  EXPECT_EQ(rank_axis->min(), 1);

  EXPECT_EQ(column(dialog->table(), 1),
            QStringList({"2页第3个", "不在10页内", "查询失败", "1页第7个"}));
  EXPECT_EQ(column(dialog->table(), 2), QStringList({"—", "↓", "—", "↑"}));
  EXPECT_TRUE(dialog->best_label()->text().contains(QString::fromUtf8("1页第7个")));

  // Every item under the keyword, one line each, with a legend naming them.
  dialog->show_whole_keyword(true);
  chart = dialog->chart();
  ASSERT_EQ(series_of<QLineSeries>(chart).size(), 2u);
  EXPECT_TRUE(chart->legend()->isVisible());
  EXPECT_EQ(series_of<QLineSeries>(chart)[1]->name(), "id-B");
  EXPECT_EQ(dialog->table()->rowCount(), 5);
  EXPECT_EQ(column(dialog->table(), 1).count("id-B"), 1);
  EXPECT_TRUE(dialog->best_label()->text().contains(QString::fromUtf8("1页第2个")));
}

// Two runs of the window against the fake marketplace: the first finds item A and
// not item B, the second fails for both. Every finished row is in the history and
// the chart of the keyword shows each kind of point.
TEST(HistoryOfARun, RecordsEveryRowAndChartsFoundNotWithinAndFailed) {
  test_support::FakeMarketplace market;
  testing::WindowHarness harness;
  testing::MessageRecorder messages;
  const Text code_a = "9723820700000000040100000C465B4E";
  const Text code_b = "11111111111111111111111111111111";
  const auto address = [](const Text& code) { return "http://auction1.paipai.com/" + code; };
  market.write_settings(harness.directory().path());
  testing::write_file(harness.directory().file("拍拍排名.txt"),
                      format_list_text({{"0", gbk("连衣裙"), address(code_a), "", "", ""},
                                        {"1", gbk("连衣裙"), address(code_b), "", "", ""}}));
  harness.start();
  EXPECT_FALSE(std::filesystem::exists(history_file())) << "created at start-up";
  market.set_paipai_page(
      gbk("连衣裙"), "77", 1,
      test_support::FakeMarketplace::paipai_page({"99999999999999999999999999999999", code_a}));
  set_control_text(harness.form().组合框1, "2");
  harness.form().按钮2->click();
  market.set_status(gbk("连衣裙"), 1, 503);
  harness.form().按钮2->click();

  const auto records = HistoryStore::open_existing(history_file())->records({"paipai", {}, {}});
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].item_key, code_a);
  EXPECT_EQ(records[0].rank, 2);
  EXPECT_EQ(records[0].sort_choice, "77");
  EXPECT_EQ(records[1].outcome, CheckOutcome::not_within);
  EXPECT_EQ(records[1].result_text, "不在2页内");
  EXPECT_EQ(records[2].outcome, CheckOutcome::failed);
  EXPECT_EQ(records[3].outcome, CheckOutcome::failed);

  TrackingListView& view = *harness.form().超级列表框1;
  emit view.customContextMenuRequested(view.visualItemRect(view.topLevelItem(0)).center());
  auto* menu = view.findChild<QMenu*>();
  ASSERT_NE(menu, nullptr);
  menu->actions()[0]->trigger();
  menu->close();
  HistoryDialog* dialog = open_dialog();
  ASSERT_NE(dialog, nullptr);
  dialog->show_whole_keyword(true);
  QChart* chart = dialog->chart();
  const auto lines = series_of<QLineSeries>(chart);
  const auto marks = series_of<QScatterSeries>(chart);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(heights(lines[0]), std::vector<qreal>{2});
  EXPECT_EQ(heights(lines[1]), std::vector<qreal>{2 * 40 + 1});
  EXPECT_EQ(marks[0]->count(), 1);  // not within
  EXPECT_EQ(marks[1]->count(), 2);  // failed
  EXPECT_EQ(dialog->table()->rowCount(), 4);
  dialog->close();
}

TEST_F(HistoryDialogTest, AHistoryThatIsNoDatabaseIsNamedAndLeftAlone) {
  const std::string text = "just text";
  testing::write_file(history_file(), text);
  HistoryDialog dialog(history_file(), {"taobao", "k", "A"});
  EXPECT_EQ(
      dialog.best_label()->text(),
      QString::fromUtf8("排名历史.db 不是本软件的排名历史文件，已保持原样；本次不记录排名历史。"));
  EXPECT_EQ(dialog.table()->rowCount(), 0);
  EXPECT_EQ(testing::read_file(history_file()), text);
}

}  // namespace
}  // namespace shop
