#include "lists/file_reports.h"

#include <QString>
#include <string>

#include "ui/gbk.h"
#include "ui/message.h"
#include "web/system_texts.h"

namespace shop {
namespace {

Text display_name(const std::filesystem::path& file) {
  return to_gbk(QString::fromStdString(file.filename().native()));
}

void report(const std::filesystem::path& file, const Text& problem, const Text& consequence) {
  show_message(display_name(file) + problem + consequence, kDefaultMessageTitle, 64);
}

}  // namespace

void report_file_problem(const std::filesystem::path& file, FileProblem problem,
                         std::uintmax_t size_limit, const Text& consequence) {
  switch (problem) {
    case FileProblem::not_regular:
      report(file, kNotRegularFileText, consequence);
      break;
    case FileProblem::too_large:
      report(file, kBeyondLimitText + std::to_string(size_limit / kMebibyte) + " MiB", consequence);
      break;
    case FileProblem::none:
    case FileProblem::missing:
    case FileProblem::unreadable:
      break;
  }
}

void report_too_many_rows(const std::filesystem::path& file, size_t row_limit,
                          const Text& consequence) {
  report(file, kBeyondLimitText + std::to_string(row_limit) + kRowsUnit, consequence);
}

}  // namespace shop
