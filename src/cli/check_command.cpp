// `shopkeeper check paipai|taobao`: the ranking check of one tracking list without
// the window. It reads the same files the window reads, runs the same engine and
// writes the list file exactly as the window's run would.

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <mutex>

#include "app/settings.h"
#include "cli/command_line.h"
#include "cli/stored_choices.h"
#include "cli/working_directory_lock.h"
#include "history/history_observer.h"
#include "history/history_store.h"
#include "lists/file_store.h"
#include "lists/list_file.h"
#include "ranking/ranking_engine.h"
#include "ranking/search_scan.h"
#include "ranking/sort_orders.h"

namespace shop {
namespace {

// The names of the window's files (lists/list_store.h and app/control_state_store.h
// hold them beside widget code, which the command line does not include).
constexpr const char* kPaipaiListName = "/拍拍排名.txt";
constexpr const char* kTaobaoListName = "/淘宝排名.txt";
constexpr const char* kControlStateName = "/排名.txt";

QString from_gbk_text(const Text& text) {
  QStringDecoder decoder("GBK");
  return decoder.isValid() ? decoder.decode(QByteArray::fromStdString(text))
                           : QString::fromLatin1(text.c_str());
}

// A page count given on the command line: decimal digits only, 1 up to the largest
// count a row can have.
std::optional<std::int32_t> page_count_argument(const QString& text) {
  if (text.isEmpty() || text.size() > 10) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  for (const QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
      return std::nullopt;
    }
    value = value * 10 + (c.unicode() - '0');
  }
  if (value < 1 || value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// Why a list file was not taken, or nothing when its rows (none for a missing file)
// were read.
std::optional<QString> list_file_problem(const std::filesystem::path& path,
                                         const ListFileRead& read) {
  const QString name = QFile::decodeName(path.native().c_str());
  switch (read.file_problem) {
    case FileProblem::none:
    case FileProblem::missing:
      break;
    case FileProblem::not_regular:
      return QStringLiteral("cannot read the list file %1: not a regular file").arg(name);
    case FileProblem::too_large:
      return QStringLiteral("the list file %1 is larger than %2 MiB; it was left as it is")
          .arg(name)
          .arg(kListFileSizeLimit / kMebibyte);
    case FileProblem::unreadable:
      return QStringLiteral("cannot read the list file %1").arg(name);
  }
  if (read.too_many_rows) {
    return QStringLiteral("the list file %1 holds more than %2 rows; it was left as it is")
        .arg(name)
        .arg(kListRowLimit);
  }
  return std::nullopt;
}

// Prints one line per row as it ends and, on a terminal, a progress line that is
// rewritten in place.
class ConsoleReports : public RankingObserver {
 public:
  explicit ConsoleReports(size_t row_count)
      : row_count_(row_count), progress_(::isatty(STDOUT_FILENO) == 1) {}

  void row_started(int row, const TrackedItem&, std::int32_t page_count) override {
    std::lock_guard lock(mutex_);
    page_count_ = page_count;
    show_progress(row, 0);
  }
  void pages_done(int row, std::int32_t done, std::int32_t) override {
    std::lock_guard lock(mutex_);
    show_progress(row, done);
  }
  void row_finished(int, const TrackedItem& row_after, const RowOutcome&) override {
    std::lock_guard lock(mutex_);
    clear_progress();
    print_line(from_gbk_text(row_after[0]) + QLatin1Char('\t') + from_gbk_text(row_after[1]) +
               QLatin1Char('\t') + from_gbk_text(row_after[3]));
  }
  void run_finished(const std::vector<TrackedItem>&) override {
    std::lock_guard lock(mutex_);
    clear_progress();
  }

 private:
  void show_progress(int row, std::int32_t pages_done) {
    if (!progress_) {
      return;
    }
    std::printf("\r\033[Krow %d/%zu, page %d/%d", row + 1, row_count_, pages_done, page_count_);
    std::fflush(stdout);
  }
  void clear_progress() {
    if (progress_) {
      std::fputs("\r\033[K", stdout);
    }
  }

  const size_t row_count_;
  const bool progress_;
  std::mutex mutex_;
  std::int32_t page_count_ = 0;
};

struct CheckRequest {
  Marketplace marketplace = Marketplace::paipai;
  std::optional<std::int32_t> pages;
  std::optional<SortOrder> sort;
};

}  // namespace

int run_check_command(const QStringList& arguments) {
  CommandParser command(
      QStringLiteral("check"),
      QStringLiteral("paipai|taobao [--pages N] [--sort NAME] [--dir DIR | --user-data]"),
      QStringLiteral(
          "Checks the ranking of every row of the marketplace's tracking list, as the window's "
          "start button does, and rewrites the list file.\n"
          "Without --pages and --sort it uses the page count and the sort choice the window "
          "last stored.\n"
          "Prints one line per row: id, keyword, result.\n"
          "Exit status: 0 every row was checked, 1 some row failed (or a file could not be read "
          "or written), 2 bad usage, 3 the working directory is in use."));
  QCommandLineParser& parser = command.parser();
  const QCommandLineOption pages_option(QStringLiteral("pages"),
                                        QStringLiteral("Scan N result pages per row (N >= 1)."),
                                        QStringLiteral("N"));
  const QCommandLineOption sort_option(
      QStringLiteral("sort"),
      QStringLiteral("Sort order: default, popularity, sales, price, credit, or total (Taobao "
                     "only)."),
      QStringLiteral("NAME"));
  parser.addOptions({pages_option, sort_option});
  parser.addPositionalArgument(QStringLiteral("marketplace"), QStringLiteral("paipai or taobao"));
  if (const std::optional<int> done = command.parse(arguments)) {
    return *done;
  }

  CheckRequest request;
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 1 ||
      (positional[0] != QLatin1String("paipai") && positional[0] != QLatin1String("taobao"))) {
    return command.usage_error(positional.isEmpty()
                                   ? QStringLiteral("name the marketplace: paipai or taobao")
                                   : QStringLiteral("unknown marketplace '%1' (paipai or taobao)")
                                         .arg(positional.join(QLatin1Char(' '))));
  }
  request.marketplace =
      positional[0] == QLatin1String("paipai") ? Marketplace::paipai : Marketplace::taobao;
  if (parser.isSet(pages_option)) {
    request.pages = page_count_argument(parser.value(pages_option));
    if (!request.pages) {
      return command.usage_error(QStringLiteral("--pages '%1' is not a page count from 1 to %2")
                                     .arg(parser.value(pages_option))
                                     .arg(std::numeric_limits<std::int32_t>::max()));
    }
  }
  if (parser.isSet(sort_option)) {
    request.sort = sort_order_named(parser.value(sort_option).toStdString());
    if (!request.sort || !sort_text(request.marketplace, *request.sort)) {
      return command.usage_error(QStringLiteral("--sort '%1' is no sort order of %2 (%3)")
                                     .arg(parser.value(sort_option), positional[0],
                                          QString::fromLatin1(sort_order_names())));
    }
  }

  WorkingDirectoryLock lock;
  if (!lock.try_lock()) {
    return command.fail(QStringLiteral("the working directory %1 is in use by another shopkeeper "
                                       "(a window or a check run); nothing was written")
                            .arg(QDir::currentPath()),
                        kExitDirectoryInUse);
  }

  const std::filesystem::path control_state = working_directory_file(kControlStateName);
  RankingOptions options;
  options.marketplace = request.marketplace;
  if (request.pages) {
    options.page_count = *request.pages;
    options.page_count_text = std::to_string(*request.pages);
  } else {
    options.page_count_text = stored_page_count_text(control_state);
    options.page_count = parse_page_count(options.page_count_text);
    if (options.page_count < 1) {
      return command.usage_error(
          QStringLiteral("the page count the window stored ('%1') is not a positive number; "
                         "give --pages")
              .arg(from_gbk_text(options.page_count_text)));
    }
  }
  const Text sort = request.sort ? *sort_text(request.marketplace, *request.sort)
                                 : stored_sort_text(control_state, request.marketplace);
  options.sort_choice = [sort] { return sort; };
  const Settings settings = load_settings(working_directory_file(kSettingsFile));
  if (!settings.problems.empty()) {
    print_error_line(from_gbk_text(settings_problems_line(settings.problems)));
  }
  options.search_address_parts = settings.search_address_parts;
  apply_ranking_settings(settings, options);

  const bool paipai = request.marketplace == Marketplace::paipai;
  const std::filesystem::path list_file =
      working_directory_file(paipai ? kPaipaiListName : kTaobaoListName);
  ListFileRead read = read_list_file(list_file);
  if (const std::optional<QString> problem = list_file_problem(list_file, read)) {
    return command.fail(*problem, kExitRowFailed);
  }
  std::vector<TrackedItem> rows = std::move(read.rows);
  if (rows.empty()) {
    print_line(QStringLiteral("the %1 list is empty: nothing to check").arg(positional[0]));
    return kExitSuccess;
  }

  WorkerPool pool;
  ConsoleReports console(rows.size());
  HistoryObserver history(history_file(), options.marketplace, options.sort_choice,
                          [](const Text& problem) { print_error_line(from_gbk_text(problem)); });
  const RankingResult result = run_ranking(std::move(rows), options, {&console, &history}, pool);
  if (!replace_file_contents(list_file, format_list_text(result.rows))) {
    return command.fail(QStringLiteral("cannot write the list file %1; its former content is kept")
                            .arg(QFile::decodeName(list_file.native().c_str())),
                        kExitRowFailed);
  }
  return result.any_failed() ? kExitRowFailed : kExitSuccess;
}

}  // namespace shop
