#include "history/history_csv.h"

#include <csv.h>

#include <array>
#include <charconv>
#include <exception>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/check_record.h"
#include "history/history_recorder.h"
#include "history/history_store.h"
#include "lists/file_store.h"
#include "web/system_texts.h"
#include "web/unicode_text.h"

namespace shop {
namespace {

// UTF-8 byte-order mark, so that spreadsheet programs read the file as UTF-8.
constexpr unsigned char kBom[] = {0xEF, 0xBB, 0xBF};
const std::string_view kBomText(reinterpret_cast<const char*>(kBom), sizeof kBom);

enum Column {
  kTime,
  kMarketplace,
  kKeyword,
  kItemAddress,
  kItemKey,
  kSortChoice,
  kPageCount,
  kOutcome,
  kPage,
  kPlace,
  kResultText,
  kRank,
  kColumnCount
};
constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "time",       "marketplace", "keyword", "item_address", "item_key",    "sort_choice",
    "page_count", "outcome",     "page",    "place",        "result_text", "rank"};

std::string number_text(std::optional<std::int64_t> value) {
  return value ? std::to_string(*value) : std::string();
}

std::array<std::string, kColumnCount> fields_of(const CheckRecord& record) {
  return {record.time,
          record.marketplace,
          record.keyword,
          record.item_address,
          record.item_key,
          record.sort_choice,
          std::to_string(record.page_count),
          std::string(outcome_name(record.outcome)),
          number_text(record.page),
          number_text(record.place),
          record.result_text,
          number_text(record.rank)};
}

bool needs_quotes(std::string_view text) {
  return text.find_first_of(",\"\r\n") != std::string_view::npos ||
         (!text.empty() && (text.front() == ' ' || text.back() == ' '));
}

// Appends the fields as one CSV line (quoted by libcsv where needed, CR LF at the end).
template <class Fields>
void append_line(std::string& out, const Fields& fields) {
  bool first = true;
  for (const auto& field : fields) {
    if (!first) {
      out += ',';
    }
    first = false;
    const std::string_view text(field);
    if (!needs_quotes(text)) {
      out += text;
      continue;
    }
    const size_t start = out.size();
    out.resize(start + text.size() * 2 + 2);
    const size_t written =
        csv_write(out.data() + start, out.size() - start, text.data(), text.size());
    out.resize(start + written);
  }
  out += "\r\n";
}

Text line_problem(std::int64_t line, const Text& what) {
  return kCsvLineWord + std::to_string(line) + kCsvLineSuffix + what;
}

std::optional<std::int64_t> parse_integer(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

// 2026-12-11T13:40:05Z, with an optional fraction of a second before the Z.
bool is_record_time(std::string_view text) {
  constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd";
  if (text.size() < kShape.size() + 1 || text.back() != 'Z') {
    return false;
  }
  for (size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) {
      return false;
    }
  }
  std::string_view rest = text.substr(kShape.size(), text.size() - kShape.size() - 1);
  if (rest.empty()) {
    return true;
  }
  if (rest.size() < 2 || rest.front() != '.') {
    return false;
  }
  return rest.substr(1).find_first_not_of("0123456789") == std::string_view::npos;
}

// Reads a CSV file line by line through libcsv, keeping the physical line number
// at which each record begins, and hands each record on.
class CsvReader {
 public:
  using RecordHandler = std::function<bool(std::vector<std::string>& fields, std::int64_t line)>;

  explicit CsvReader(RecordHandler handler) : handler_(std::move(handler)) {
    csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
    // Blanks around unquoted fields are part of the field.
    csv_set_space_func(&parser_, [](unsigned char) { return 0; });
  }
  ~CsvReader() { csv_free(&parser_); }
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // Reads the whole file; false with `problem` set at the first error.
  bool read(const std::filesystem::path& file, Text& problem) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      problem = kCsvCannotReadMessage;
      return false;
    }
    std::string line;
    while (std::getline(in, line)) {
      ++line_;
      if (line_ == 1 && line.starts_with(kBomText)) {
        line.erase(0, kBomText.size());
      }
      if (!in.eof()) {
        line += '\n';
      }
      if (record_line_ == 0 && line.find_first_not_of("\r\n") != std::string::npos) {
        record_line_ = line_;
      }
      if (csv_parse(&parser_, line.data(), line.size(), on_field, on_record, this) != line.size() &&
          !stopped_) {
        problem = line_problem(line_, kCsvBadQuotesMessage);
        return false;
      }
      if (stopped_) {
        return stopped(problem);
      }
    }
    if (in.bad()) {
      problem = kCsvCannotReadMessage;
      return false;
    }
    if (csv_fini(&parser_, on_field, on_record, this) != 0) {
      problem = line_problem(record_line_, kCsvBadQuotesMessage);
      return false;
    }
    if (stopped_) {
      return stopped(problem);
    }
    return true;
  }

 private:
  // The handler refused a record (its caller keeps the reason) or threw.
  bool stopped(Text&) {
    if (error_) {
      std::rethrow_exception(error_);
    }
    return false;
  }

  static void on_field(void* field, size_t size, void* self_pointer) {
    auto& self = *static_cast<CsvReader*>(self_pointer);
    if (!self.stopped_) {
      self.fields_.emplace_back(static_cast<const char*>(field), size);
    }
  }
  static void on_record(int, void* self_pointer) {
    auto& self = *static_cast<CsvReader*>(self_pointer);
    // No exception may cross the C library's frames: keep it for read() to rethrow.
    try {
      if (!self.stopped_ && !self.handler_(self.fields_, self.record_line_)) {
        self.stopped_ = true;
      }
    } catch (...) {
      self.error_ = std::current_exception();
      self.stopped_ = true;
    }
    self.fields_.clear();
    self.record_line_ = 0;
  }

  csv_parser parser_{};
  RecordHandler handler_;
  std::vector<std::string> fields_;
  std::int64_t line_ = 0;
  std::int64_t record_line_ = 0;
  bool stopped_ = false;
  std::exception_ptr error_;
};

// Turns the CSV records into history records: the header row first, then one
// record per line, each checked in full.
class RecordParser {
 public:
  // Returns false with `problem` set when the record is malformed.
  bool take(std::vector<std::string>& fields, std::int64_t line,
            const std::function<void(const CheckRecord&)>& use) {
    if (!header_read_) {
      return read_header(fields, line);
    }
    if (fields.size() != header_size_) {
      problem = line_problem(line, kCsvFieldCountMessage);
      return false;
    }
    for (const std::string& field : fields) {
      if (!is_valid_utf8(field)) {
        problem = line_problem(line, kCsvNotUtf8Message);
        return false;
      }
    }
    std::array<std::string, kColumnCount> values;
    for (int column = 0; column < kColumnCount; ++column) {
      values[column] = std::move(fields[positions_[column]]);
    }
    const std::optional<CheckRecord> record = to_record(values, line);
    if (!record) {
      return false;
    }
    use(*record);
    return true;
  }

  bool header_read() const { return header_read_; }

  Text problem;

 private:
  bool read_header(const std::vector<std::string>& fields, std::int64_t line) {
    Text missing;
    for (int column = 0; column < kColumnCount; ++column) {
      bool found = false;
      for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i] == kColumnNames[column]) {
          positions_[column] = i;
          found = true;
          break;
        }
      }
      if (!found) {
        missing += (missing.empty() ? "" : ", ") + std::string(kColumnNames[column]);
      }
    }
    if (!missing.empty()) {
      problem = line_problem(line, kCsvMissingColumnsMessage + missing);
      return false;
    }
    header_size_ = fields.size();
    header_read_ = true;
    return true;
  }

  std::optional<CheckRecord> to_record(std::array<std::string, kColumnCount>& values,
                                       std::int64_t line) {
    CheckRecord record;
    const auto bad = [&](Column column) {
      problem = line_problem(line, kCsvBadValueMessage + std::string(kColumnNames[column]));
      return std::nullopt;
    };
    if (!is_record_time(values[kTime])) {
      return bad(kTime);
    }
    if (values[kMarketplace] != kPaipaiName && values[kMarketplace] != kTaobaoName) {
      return bad(kMarketplace);
    }
    const std::optional<std::int64_t> page_count = parse_integer(values[kPageCount]);
    if (!page_count) {
      return bad(kPageCount);
    }
    const std::optional<CheckOutcome> outcome = outcome_from_name(values[kOutcome]);
    if (!outcome) {
      return bad(kOutcome);
    }
    for (Column column : {kPage, kPlace, kRank}) {
      if (!values[column].empty() && !parse_integer(values[column])) {
        return bad(column);
      }
    }
    record.page = parse_integer(values[kPage]);
    record.place = parse_integer(values[kPlace]);
    record.rank = parse_integer(values[kRank]);
    if (*outcome == CheckOutcome::found && (!record.page || !record.place)) {
      return bad(record.page ? kPlace : kPage);
    }
    record.time = std::move(values[kTime]);
    record.marketplace = std::move(values[kMarketplace]);
    record.keyword = std::move(values[kKeyword]);
    record.item_address = std::move(values[kItemAddress]);
    record.item_key = std::move(values[kItemKey]);
    record.sort_choice = std::move(values[kSortChoice]);
    record.page_count = *page_count;
    record.outcome = *outcome;
    record.result_text = std::move(values[kResultText]);
    return record;
  }

  bool header_read_ = false;
  size_t header_size_ = 0;
  std::array<size_t, kColumnCount> positions_{};
};

// Reads every record of the file; false with `problem` at the first malformed line.
bool read_csv_records(const std::filesystem::path& csv,
                      const std::function<void(const CheckRecord&)>& use, Text& problem) {
  RecordParser records;
  CsvReader reader([&](std::vector<std::string>& fields, std::int64_t line) {
    return records.take(fields, line, use);
  });
  if (!reader.read(csv, problem)) {
    if (!records.problem.empty()) {
      problem = records.problem;
    }
    return false;
  }
  if (!records.header_read()) {
    problem = line_problem(1, kCsvMissingColumnsMessage);
    return false;
  }
  return true;
}

CsvResult failure(Text problem) {
  CsvResult result;
  result.problem = std::move(problem);
  return result;
}

}  // namespace

CsvResult export_history_csv(const std::filesystem::path& history,
                             const std::filesystem::path& csv) {
  std::string out(kBomText);
  append_line(out, kColumnNames);
  CsvResult result;
  try {
    if (std::unique_ptr<HistoryStore> store = HistoryStore::open_existing(history)) {
      store->for_each_record([&](const CheckRecord& record) {
        append_line(out, fields_of(record));
        ++result.records;
      });
    }
  } catch (const HistoryError& error) {
    return failure(history_problem_message(error.problem()));
  }
  if (!replace_file_contents(csv, out)) {
    return failure(kCsvCannotWriteMessage);
  }
  result.ok = true;
  return result;
}

CsvResult import_history_csv(const std::filesystem::path& history,
                             const std::filesystem::path& csv) {
  Text problem;
  if (!read_csv_records(
          csv, [](const CheckRecord&) {}, problem)) {
    return failure(problem);
  }
  CsvResult result;
  try {
    std::unique_ptr<HistoryStore> store = HistoryStore::open(history);
    store->in_transaction([&] {
      return read_csv_records(
          csv,
          [&](const CheckRecord& record) {
            if (store->add(record)) {
              ++result.records;
            } else {
              ++result.skipped;
            }
          },
          problem);
    });
  } catch (const HistoryError& error) {
    return failure(history_problem_message(error.problem()));
  }
  if (!problem.empty()) {
    return failure(problem);
  }
  result.ok = true;
  return result;
}

}  // namespace shop
