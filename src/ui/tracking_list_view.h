#pragma once
// A report-style list view whose cells are addressed by 0-based row and column
// and keep their exact bytes.

#include <QTreeWidget>
#include <vector>

#include "web/text.h"

namespace shop {

class TrackingListView : public QTreeWidget {
  Q_OBJECT

 public:
  struct Column {
    Text header;
    int width;
  };

  explicit TrackingListView(QWidget* parent = nullptr);

  void set_columns(const std::vector<Column>& columns);

  int row_count() const { return topLevelItemCount(); }
  int column_count() const { return columnCount(); }

  // Appends a row with every cell empty and returns its index.
  int append_row();
  // Appends many rows at once; each row is a range of texts, surplus cells dropped.
  template <class Rows>
  void append_rows(const Rows& rows);

  Text cell(int row, int column) const;
  void set_cell(int row, int column, const Text& text);

  // Leaves no row selected and none with the keyboard focus.
  void remove_row(int row);
  void remove_all_rows();
  // The selected row, or -1.
  int selected_row() const;
  void select_row(int row);

 signals:
  // A double-click on a row, or Enter while a row has the focus.
  void row_activated(int row);

 private:
  QTreeWidgetItem* new_item() const;
  static void set_item_cell(QTreeWidgetItem* item, int column, const Text& text);
  void add_items(const QList<QTreeWidgetItem*>& items);
};

template <class Rows>
void TrackingListView::append_rows(const Rows& rows) {
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(std::size(rows)));
  for (const auto& row : rows) {
    QTreeWidgetItem* item = new_item();
    int column = 0;
    for (const Text& text : row) {
      if (column >= column_count()) {
        break;
      }
      set_item_cell(item, column++, text);
    }
    items.append(item);
  }
  add_items(items);
}

}  // namespace shop
