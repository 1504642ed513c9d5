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
#include "support/core/history_records.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"

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
