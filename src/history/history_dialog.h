#pragma once
// The rank history of one item (or of every item under its keyword): a line chart
// of the rank over time with position 1 at the top, and the table of checks under
// it. Non-modal; it reads the history file each time it loads.

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "history/check_record.h"

class QCheckBox;
class QLabel;
class QTableWidget;
class QChart;
class QChartView;

namespace shop {

struct HistorySubject {
  std::string marketplace;  // "paipai" or "taobao"
  std::string keyword;      // UTF-8
  std::string item_address;
};

class HistoryDialog : public QDialog {
  Q_OBJECT

 public:
  HistoryDialog(std::filesystem::path history, HistorySubject subject, QWidget* parent = nullptr);

  // Reads the history again and redraws chart and table.
  void reload();
  // Shows every item under the keyword, one line each, instead of the one item.
  void show_whole_keyword(bool whole);

  QChart* chart() const;
  QTableWidget* table() const { return table_; }
  QLabel* best_label() const { return best_; }

 private:
  void fill_chart(const std::vector<std::vector<CheckRecord>>& items);
  void fill_table(const std::vector<std::vector<CheckRecord>>& items);
  void export_csv();
  void import_csv();

  std::filesystem::path history_;
  HistorySubject subject_;
  QChartView* chart_view_;
  QTableWidget* table_;
  QLabel* best_;
  QCheckBox* whole_keyword_;
};

// Opens a dialog that deletes itself when closed, and returns at once.
HistoryDialog* open_history_dialog(const std::filesystem::path& history, HistorySubject subject,
                                   QWidget* parent);

}  // namespace shop
