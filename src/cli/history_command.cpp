#include "cli/history_command.h"

#include <algorithm>
#include <iostream>

#include "cli/command_line.h"

#include "history/check_record.h"
#include "history/history_csv.h"
#include "history/history_recorder.h"
#include "history/history_store.h"
#include "web/system_texts.h"
#include "web/unicode_text.h"

namespace shop {
namespace {

// Columns on a terminal: a CJK character takes two.
size_t display_width(std::string_view utf8) {
  size_t width = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    width += length >= 3 ? 2 : 1;
    i += length;
  }
  return width;
}

void write_padded(std::ostream& out, const std::string& text, size_t width) {
  out << text << std::string(width > display_width(text) ? width - display_width(text) : 0, ' ')
      << "  ";
}

void write_table(std::ostream& out, const std::vector<CheckRecord>& records) {
  const std::vector<std::string> headers = {
      gbk_to_utf8(kHistoryTimeHeader), gbk_to_utf8(kHistoryResultHeader),
      gbk_to_utf8(kHistoryRankHeader), gbk_to_utf8(kHistoryKeywordHeader),
      gbk_to_utf8(kHistoryAddressHeader)};
  std::vector<std::vector<std::string>> rows;
  for (const CheckRecord& record : records) {
    rows.push_back({record.time, record.result_text,
                    record.rank ? std::to_string(*record.rank) : "-", record.keyword,
                    record.item_address});
  }
  std::vector<size_t> widths;
  for (const std::string& header : headers) {
    widths.push_back(display_width(header));
  }
  for (const auto& row : rows) {
    for (size_t column = 0; column < row.size(); ++column) {
      widths[column] = std::max(widths[column], display_width(row[column]));
    }
  }
  const auto write_row = [&](const std::vector<std::string>& row) {
    for (size_t column = 0; column + 1 < row.size(); ++column) {
      write_padded(out, row[column], widths[column]);
    }
    out << row.back() << '\n';
  };
  write_row(headers);
  for (const auto& row : rows) {
    write_row(row);
  }
}

int report_problem(std::ostream& err, const Text& problem) {
  err << "shopkeeper history: " << gbk_to_utf8(problem) << '\n';
  return 1;
}

}  // namespace

int run_history_list(const HistoryListArguments& arguments, std::ostream& out, std::ostream& err) {
  std::vector<CheckRecord> records;
  try {
    if (std::unique_ptr<HistoryStore> store = HistoryStore::open_existing(history_file())) {
      records = store->records({arguments.marketplace, arguments.keyword, arguments.item_address});
    }
  } catch (const HistoryError& error) {
    return report_problem(err, history_problem_message(error.problem()));
  }
  write_table(out, records);
  return 0;
}

int run_history_export(const std::filesystem::path& csv, std::ostream& out, std::ostream& err) {
  const CsvResult result = export_history_csv(history_file(), csv);
  if (!result.ok) {
    return report_problem(err, result.problem);
  }
  out << gbk_to_utf8(kHistoryExported) << result.records << '\n';
  return 0;
}

int run_history_import(const std::filesystem::path& csv, std::ostream& out, std::ostream& err) {
  const CsvResult result = import_history_csv(history_file(), csv);
  if (!result.ok) {
    return report_problem(err, result.problem);
  }
  out << gbk_to_utf8(kHistoryImported) << result.records << gbk_to_utf8(kHistoryAlreadyThere)
      << result.skipped << '\n';
  return 0;
}

int run_history_cli_command(const QStringList& arguments) {
  CommandParser command(
      QStringLiteral("history"),
      QStringLiteral("paipai|taobao [--keyword K] [--item ADDRESS] | export FILE.csv | "
                     "import FILE.csv [--dir DIR]"),
      QStringLiteral("Prints the rank history of the marketplace's checks as a table (optionally "
                     "of one keyword and one item address), or writes all of it to a CSV file, "
                     "or merges a CSV file into it.\n"
                     "Exit status: 0 done, 1 the history or the file could not be used, 2 bad "
                     "usage."));
  QCommandLineParser& parser = command.parser();
  const QCommandLineOption keyword_option(QStringLiteral("keyword"),
                                          QStringLiteral("Only the checks of this keyword."),
                                          QStringLiteral("K"));
  const QCommandLineOption item_option(QStringLiteral("item"),
                                       QStringLiteral("Only the checks of this item address."),
                                       QStringLiteral("ADDRESS"));
  parser.addOptions({keyword_option, item_option});
  parser.addPositionalArgument(
      QStringLiteral("what"), QStringLiteral("paipai, taobao, export FILE.csv or import FILE.csv"));
  if (const std::optional<int> done = command.parse(arguments)) {
    return *done;
  }
  const QStringList positional = parser.positionalArguments();
  const QString what = positional.value(0);
  if (what == QLatin1String("export") || what == QLatin1String("import")) {
    if (positional.size() != 2) {
      return command.usage_error(QStringLiteral("name one CSV file after %1").arg(what));
    }
    const std::filesystem::path file(positional[1].toStdString());
    return what == QLatin1String("export") ? run_history_export(file, std::cout, std::cerr)
                                           : run_history_import(file, std::cout, std::cerr);
  }
  if (positional.size() != 1 ||
      (what != QLatin1String("paipai") && what != QLatin1String("taobao"))) {
    return command.usage_error(
        QStringLiteral("name the marketplace (paipai or taobao), export or import"));
  }
  HistoryListArguments list{what.toStdString(), std::nullopt, std::nullopt};
  if (parser.isSet(keyword_option)) {
    list.keyword = parser.value(keyword_option).toStdString();
  }
  if (parser.isSet(item_option)) {
    list.item_address = parser.value(item_option).toStdString();
  }
  return run_history_list(list, std::cout, std::cerr);
}

}  // namespace shop
