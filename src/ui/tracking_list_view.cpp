#include "ui/tracking_list_view.h"

#include <QHeaderView>

#include "ui/gbk.h"

namespace shop {
namespace {

// A cell shows at most this many bytes of its text, cut where a character begins.
constexpr size_t kShownBytes = 1024;

QString shown_text(const Text& text) {
  if (text.size() <= kShownBytes) {
    return from_gbk(text);
  }
  size_t end = 0;
  while (end < kShownBytes) {
    end += static_cast<unsigned char>(text[end]) >= 0x80 ? 2 : 1;
  }
  return from_gbk(text.substr(0, end > kShownBytes ? end - 2 : end)) + QChar(0x2026);
}

// A row that keeps the exact bytes of its cells and makes the shown texts from them
// when the view asks: a long list costs no conversion for the rows never shown, and
// a huge cell shows only its beginning.
class TrackingListItem : public QTreeWidgetItem {
 public:
  explicit TrackingListItem(int columns)
      : QTreeWidgetItem(UserType), cells_(static_cast<size_t>(columns)) {}

  Text cell(int column) const {
    return static_cast<size_t>(column) < cells_.size() ? cells_[static_cast<size_t>(column)]
                                                       : Text();
  }
  void set_cell(int column, const Text& text) {
    if (static_cast<size_t>(column) >= cells_.size()) {
      cells_.resize(static_cast<size_t>(column) + 1);
    }
    cells_[static_cast<size_t>(column)] = text;
    emitDataChanged();
  }

  QVariant data(int column, int role) const override {
    if (role == Qt::DisplayRole && column >= 0 && static_cast<size_t>(column) < cells_.size()) {
      return shown_text(cells_[static_cast<size_t>(column)]);
    }
    return QTreeWidgetItem::data(column, role);
  }

 private:
  std::vector<Text> cells_;
};

TrackingListItem* row_item(QTreeWidgetItem* item) {
  return dynamic_cast<TrackingListItem*>(item);
}

}  // namespace

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
  return new TrackingListItem(column_count());
}

void TrackingListView::set_item_cell(QTreeWidgetItem* item, int column, const Text& text) {
  if (TrackingListItem* row = row_item(item)) {
    row->set_cell(column, text);
  }
}

void TrackingListView::add_items(const QList<QTreeWidgetItem*>& items) {
  addTopLevelItems(items);
}

int TrackingListView::append_row() {
  addTopLevelItem(new_item());
  return row_count() - 1;
}

Text TrackingListView::cell(int row, int column) const {
  const TrackingListItem* item = row_item(topLevelItem(row));
  if (item == nullptr || column < 0 || column >= column_count()) {
    return {};
  }
  return item->cell(column);
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
