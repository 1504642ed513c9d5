#include "history/history_dialog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <map>

#include "history/history_csv.h"
#include "history/history_recorder.h"
#include "history/history_store.h"
#include "history/history_summary.h"
#include "ui/gbk.h"
#include "ui/message.h"
#include "web/system_texts.h"
#include "web/unicode_text.h"

namespace shop {
namespace {

QString utf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

qint64 chart_time(const CheckRecord& check) {
  return QDateTime::fromString(utf8(check.time), Qt::ISODateWithMs).toMSecsSinceEpoch();
}

QString local_time(const CheckRecord& check) {
  return QDateTime::fromString(utf8(check.time), Qt::ISODateWithMs)
      .toLocalTime()
      .toString("yyyy-MM-dd HH:mm");
}

// The records grouped by item address, each group oldest first, the groups in
// the order their items were first checked.
std::vector<std::vector<CheckRecord>> by_item(std::vector<CheckRecord> records) {
  std::vector<std::vector<CheckRecord>> items;
  std::map<std::string, size_t> index;
  for (CheckRecord& record : records) {
    const auto [place, added] = index.emplace(record.item_address, items.size());
    if (added) {
      items.emplace_back();
    }
    items[place->second].push_back(std::move(record));
  }
  return items;
}

// How an item is named in the legend and the table: its item key, which tells
// items apart where their addresses share a long beginning.
QString item_name(const CheckRecord& check) {
  return utf8(check.item_key.empty() ? check.item_address : check.item_key);
}

// A step of 1, 2 or 5 times a power of ten that gives about five grid lines.
qreal grid_step(qreal range) {
  for (qreal power = 1;; power *= 10) {
    for (const qreal factor : {1, 2, 5}) {
      if (range / (factor * power) <= 6) {
        return factor * power;
      }
    }
  }
}

QScatterSeries* marker_series(const QString& name, QScatterSeries::MarkerShape shape,
                              const QColor& color) {
  auto* series = new QScatterSeries();
  series->setName(name);
  series->setMarkerShape(shape);
  series->setMarkerSize(11);
  series->setColor(color);
  series->setBorderColor(color.darker());
  return series;
}

}  // namespace

HistoryDialog::HistoryDialog(std::filesystem::path history, HistorySubject subject, QWidget* parent)
    : QDialog(parent), history_(std::move(history)), subject_(std::move(subject)) {
  setWindowTitle(from_gbk(kHistoryTitle) + " - " + utf8(subject_.keyword));
  setModal(false);
  resize(760, 620);

  chart_view_ = new QChartView(new QChart(), this);
  chart_view_->setRenderHint(QPainter::Antialiasing);
  chart_view_->setMinimumHeight(300);

  table_ = new QTableWidget(this);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->setVisible(false);
  table_->setWordWrap(false);

  best_ = new QLabel(this);
  whole_keyword_ = new QCheckBox(from_gbk(kHistorySameKeywordBox), this);
  connect(whole_keyword_, &QCheckBox::toggled, this, [this] { reload(); });
  auto* export_button = new QPushButton(from_gbk(kHistoryExportButton), this);
  auto* import_button = new QPushButton(from_gbk(kHistoryImportButton), this);
  connect(export_button, &QPushButton::clicked, this, [this] { export_csv(); });
  connect(import_button, &QPushButton::clicked, this, [this] { import_csv(); });

  auto* bar = new QHBoxLayout();
  bar->addWidget(best_, 1);
  bar->addWidget(whole_keyword_);
  bar->addWidget(export_button);
  bar->addWidget(import_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chart_view_, 3);
  layout->addLayout(bar);
  layout->addWidget(table_, 2);
  reload();
}

QChart* HistoryDialog::chart() const {
  return chart_view_->chart();
}

void HistoryDialog::show_whole_keyword(bool whole) {
  whole_keyword_->setChecked(whole);
}

void HistoryDialog::reload() {
  std::vector<CheckRecord> records;
  QString problem;
  try {
    if (auto store = HistoryStore::open_existing(history_)) {
      HistoryQuery query{subject_.marketplace, subject_.keyword, std::nullopt};
      if (!whole_keyword_->isChecked()) {
        query.item_address = subject_.item_address;
      }
      records = store->records(query);
    }
  } catch (const HistoryError& error) {
    problem = from_gbk(history_problem_message(error.problem()));
  }
  const std::vector<std::vector<CheckRecord>> items = by_item(records);
  fill_chart(items);
  fill_table(items);

  const std::optional<CheckRecord> best = best_check(records);
  if (!problem.isEmpty()) {
    best_->setText(problem);
  } else if (records.empty()) {
    best_->setText(from_gbk(kHistoryNoRecords));
  } else if (!best) {
    best_->setText(from_gbk(kHistoryNoBest));
  } else {
    best_->setText(from_gbk(kHistoryBestPrefix) + utf8(best->result_text) + " (" +
                   local_time(*best) + ")");
  }
}

void HistoryDialog::fill_chart(const std::vector<std::vector<CheckRecord>>& items) {
  auto* chart = new QChart();
  chart->legend()->setVisible(true);
  chart->legend()->setAlignment(Qt::AlignBottom);

  std::vector<CheckRecord> all;
  for (const auto& item : items) {
    all.insert(all.end(), item.begin(), item.end());
  }
  const auto bottom = static_cast<qreal>(not_within_rank(all));
  // Failed checks have a band of their own below the bottom edge.
  const qreal band = std::max<qreal>(2, bottom / 12);
  const qreal failed_row = bottom + band;

  auto* not_within = marker_series(
      from_gbk(kNotWithinPrefix + std::to_string(largest_page_count(all)) + kNotWithinSuffix),
      QScatterSeries::MarkerShapeTriangle, QColor(230, 140, 0));
  auto* failed = marker_series(from_gbk(kHistoryFailedLegend), QScatterSeries::MarkerShapeRectangle,
                               QColor(200, 30, 30));
  std::vector<QAbstractSeries*> series;
  for (const auto& item : items) {
    auto* line = new QLineSeries();
    line->setName(item_name(item.front()));
    line->setPointsVisible(true);
    QList<QPointF> points;
    for (const CheckRecord& check : item) {
      const auto x = static_cast<qreal>(chart_time(check));
      if (check.outcome == CheckOutcome::failed) {
        failed->append(x, failed_row);  // marked, and no line passes through it
      } else if (check.rank) {
        points.append({x, static_cast<qreal>(*check.rank)});
      } else {
        points.append({x, bottom});
        not_within->append(x, bottom);
      }
    }
    line->replace(points);
    series.push_back(line);
  }
  series.push_back(not_within);
  series.push_back(failed);

  auto* time_axis = new QDateTimeAxis();
  time_axis->setFormat("yyyy-MM-dd");
  time_axis->setTickCount(6);
  auto* rank_axis = new QValueAxis();
  rank_axis->setReverse(true);  // position 1 at the top
  rank_axis->setRange(1, failed_row + band / 2);
  rank_axis->setLabelFormat("%d");
  rank_axis->setTickType(QValueAxis::TicksDynamic);
  rank_axis->setTickAnchor(0);
  rank_axis->setTickInterval(grid_step(failed_row));
  rank_axis->setTitleText(from_gbk(kHistoryRankAxis));
  chart->addAxis(time_axis, Qt::AlignBottom);
  chart->addAxis(rank_axis, Qt::AlignLeft);
  if (!all.empty()) {
    const qint64 first = chart_time(all.front());
    qint64 last = first;
    for (const CheckRecord& check : all) {
      last = std::max(last, chart_time(check));
    }
    const qint64 margin = std::max<qint64>((last - first) / 40, 3600 * 1000);
    time_axis->setRange(QDateTime::fromMSecsSinceEpoch(std::min(first, last) - margin),
                        QDateTime::fromMSecsSinceEpoch(last + margin));
  }
  for (QAbstractSeries* one : series) {
    chart->addSeries(one);
    one->attachAxis(time_axis);
    one->attachAxis(rank_axis);
  }
  QChart* previous = chart_view_->chart();
  chart_view_->setChart(chart);
  delete previous;
}

void HistoryDialog::fill_table(const std::vector<std::vector<CheckRecord>>& items) {
  struct Row {
    const CheckRecord* check;
    std::string change;
  };
  std::vector<Row> rows;
  for (const auto& item : items) {
    const std::vector<std::string> changes = change_texts(item);
    for (size_t i = 0; i < item.size(); ++i) {
      rows.push_back({&item[i], changes[i]});
    }
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Row& a, const Row& b) { return a.check->time < b.check->time; });

  const bool several = items.size() > 1;
  QStringList headers = {from_gbk(kHistoryTimeHeader)};
  if (several) {
    headers << from_gbk(kHistoryItemHeader);
  }
  headers << from_gbk(kHistoryResultHeader) << from_gbk(kHistoryChangeHeader);
  table_->setUpdatesEnabled(false);
  table_->clear();
  table_->setColumnCount(static_cast<int>(headers.size()));
  table_->setHorizontalHeaderLabels(headers);
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const CheckRecord& check = *rows[static_cast<size_t>(r)].check;
    QStringList cells = {local_time(check)};
    if (several) {
      cells << item_name(check);
    }
    cells << utf8(check.result_text) << utf8(rows[static_cast<size_t>(r)].change);
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
      table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
  }
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setColumnWidth(0, 130);
  table_->setColumnWidth(1, 120);
  table_->setUpdatesEnabled(true);
  if (!rows.empty()) {
    table_->scrollToBottom();
  }
}

void HistoryDialog::export_csv() {
  const QString file =
      QFileDialog::getSaveFileName(this, from_gbk(kHistoryExportButton), QString(), "CSV (*.csv)");
  if (file.isEmpty()) {
    return;
  }
  const CsvResult result = export_history_csv(history_, file.toStdString());
  show_message(result.ok ? kHistoryExported + std::to_string(result.records) : result.problem,
               kHistoryTitle, 64);
}

void HistoryDialog::import_csv() {
  const QString file =
      QFileDialog::getOpenFileName(this, from_gbk(kHistoryImportButton), QString(), "CSV (*.csv)");
  if (file.isEmpty()) {
    return;
  }
  const CsvResult result = import_history_csv(history_, file.toStdString());
  show_message(result.ok ? kHistoryImported + std::to_string(result.records) +
                               kHistoryAlreadyThere + std::to_string(result.skipped)
                         : result.problem,
               kHistoryTitle, 64);
  reload();
}

HistoryDialog* open_history_dialog(const std::filesystem::path& history, HistorySubject subject,
                                   QWidget* parent) {
  auto* dialog = new HistoryDialog(history, std::move(subject), parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
  return dialog;
}

}  // namespace shop
