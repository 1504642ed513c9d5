// Window start-up with a list file of pathological size or shape, up to the caps of a
// list file and beyond them: time to the shown window and the peak memory of the
// process. Each case starts in a process of its own, so its peak is its own.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/main_window.h"
#include "bench_timing.h"
#include "lists/list_file.h"
#include "support/core/temp_dir.h"
#include "ui/message.h"

extern char** environ;

using namespace shop;

namespace {

constexpr double kTargetMs = 1500;
constexpr double kTargetMegabytes = 400;

Text repeated(const Text& piece, size_t bytes) {
  Text text;
  text.reserve(bytes + piece.size());
  while (text.size() < bytes) {
    text += piece;
  }
  return text;
}

// The most a list may hold: row cap rows that fill the size cap.
Text rows_filling_the_caps(size_t rows) {
  const size_t line_bytes = kListFileSizeLimit / kListRowLimit - 1;
  TrackedItem row = {
      "99999",
      testing::gbk("连衣裙 夏季新款"),
      "http://auction1.paipai.com/search/0/9723820700000000040100000C465B4E-8B80.html",
      testing::gbk("2页第15个"),
      testing::gbk("不在10页内"),
      ""};
  const size_t plain = format_list_text({row}).size();
  row[1] += repeated(testing::gbk("裙"), line_bytes > plain ? line_bytes - plain : 0);
  return format_list_text(std::vector<TrackedItem>(rows, row));
}

struct Case {
  const char* name;
  Text (*content)();
};

const Case kCases[] = {
    {"10 MB of bare CR LF",
     [] { return repeated("\r\n", bench::sized<size_t>(10'000'000, 100'000)); }},
    {"row cap rows filling the size cap",
     [] { return rows_filling_the_caps(bench::sized(kListRowLimit, size_t{1000})); }},
    {"one line as long as the size cap",
     [] {
       return repeated(testing::gbk("连衣裙"), bench::sized(kListFileSizeLimit - 8, kMebibyte));
     }},
    {"64 MiB of bare CR LF (beyond the size cap)",
     [] { return repeated("\r\n", bench::sized(64 * kMebibyte, kMebibyte)); }},
};

int run_case(const Case& c) {
  set_message_sink([](const Message&) {});
  testing::TempWorkingDirectory directory;
  testing::write_file(directory.file("拍拍排名.txt"), c.content());
  const auto start = std::chrono::steady_clock::now();
  AppState state;
  MainWindow window(state);
  window.show();
  QCoreApplication::processEvents();
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  const double megabytes = static_cast<double>(usage.ru_maxrss) / 1024;
  std::printf("%s: %d rows shown\n", c.name, window.form().超级列表框1->row_count());
  bool met = bench::report_ms("  start-up to window shown", ms, kTargetMs);
  std::printf("  peak memory: %.0f MB (target <= %.0f MB)%s\n", megabytes, kTargetMegabytes,
              megabytes <= kTargetMegabytes ? "" : "  MISSED");
  met = (megabytes <= kTargetMegabytes || bench::quick_mode()) && met;
  std::fflush(stdout);
  return met ? 0 : 1;
}

// Runs this program again for one case; its exit status.
int run_in_own_process(char* program, size_t index) {
  std::string number = std::to_string(index);
  char case_flag[] = "--case";
  char* arguments[] = {program, case_flag, number.data(), nullptr};
  pid_t child = 0;
  if (::posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, arguments, environ) != 0) {
    return 1;
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 3 && std::strcmp(argv[1], "--case") == 0) {
    QApplication application(argc, argv);
    return run_case(kCases[std::stoul(argv[2])]);
  }
  int status = 0;
  for (size_t i = 0; i < std::size(kCases); ++i) {
    status = run_in_own_process(argv[0], i) == 0 ? status : 1;
  }
  return status;
}
