#include "ui/tracking_list_view.h"

#include <QHeaderView>

#include "ui/gbk.h"

namespace shop {
namespace {
constexpr int kBytesRole = Qt::UserRole;
}

TrackingListView::TrackingListView(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setSortingEnabled(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAllColumnsShowFocus(true);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  connect(this, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item, int) { emit row_activated(indexOfTopLevelItem(item)); });
}

void TrackingListView::set_columns(const std::vector<Column>& columns) {
  QStringList headers;
  for (const Column& column : columns) {
    headers << from_gbk(column.header);
  }
  setColumnCount(static_cast<int>(columns.size()));
  setHeaderLabels(headers);
  for (size_t i = 0; i < columns.size(); ++i) {
    setColumnWidth(static_cast<int>(i), columns[i].width);
  }
}

QTreeWidgetItem* TrackingListView::new_item() const {
  auto* item = new QTreeWidgetItem();
  for (int column = 0; column < column_count(); ++column) {
    item->setData(column, kBytesRole, QByteArray());
  }
  return item;
}

void TrackingListView::set_item_cell(QTreeWidgetItem* item, int column, const Text& text) {
  item->setData(column, kBytesRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  item->setText(column, from_gbk(text));
}

void TrackingListView::add_items(const QList<QTreeWidgetItem*>& items) {
  addTopLevelItems(items);
}

int TrackingListView::append_row() {
  addTopLevelItem(new_item());
  return row_count() - 1;
}

Text TrackingListView::cell(int row, int column) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  if (item == nullptr || column < 0 || column >= column_count()) {
    return {};
  }
  const QByteArray bytes = item->data(column, kBytesRole).toByteArray();
  return Text(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void TrackingListView::set_cell(int row, int column, const Text& text) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (item == nullptr || column < 0 || column >= column_count()) {
    return;
  }
  set_item_cell(item, column, text);
}

void TrackingListView::remove_row(int row) {
  delete takeTopLevelItem(row);
  // The view would move the selection on to the next row by itself; a removal leaves
  // no row selected, so that a second delete removes nothing.
  selectionModel()->clear();
}

void TrackingListView::remove_all_rows() {
  clear();
}

int TrackingListView::selected_row() const {
  const QList<QTreeWidgetItem*> items = selectedItems();
  return items.isEmpty() ? -1 : indexOfTopLevelItem(items.first());
}

void TrackingListView::select_row(int row) {
  if (QTreeWidgetItem* item = topLevelItem(row)) {
    setCurrentItem(item);
  }
}

}  // namespace shop
