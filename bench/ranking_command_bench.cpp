// The ranking run through the command line, from the process's start to its exit:
// `shopkeeper check paipai --pages 30` in a working directory of 10 rows.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "bench_run_figures.h"
#include "gui/bench_timing.h"
#include "support/core/fake_marketplace.h"
#include "support/core/temp_dir.h"

extern char** environ;

using namespace shop;

namespace {

int run_command(const std::string& directory) {
  const std::string pages = std::to_string(bench::run_page_count());
  const char* arguments[] = {SHOP_EXECUTABLE, "check", "paipai",          "--pages",
                             pages.c_str(),   "--dir", directory.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int started = posix_spawn(&pid, SHOP_EXECUTABLE, &actions, nullptr,
                                  const_cast<char* const*>(arguments), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (started != 0 || waitpid(pid, &status, 0) != pid) {
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int main() {
  test_support::FakeMarketplace market;
  market.set_delay(std::chrono::milliseconds(bench::kRunAnswerMs));
  testing::TempDir directory;
  market.write_settings(directory.path());
  testing::write_file(directory.file("拍拍排名.txt"), format_list_text(bench::run_rows()));

  int exit_code = 0;
  const double measured = bench::median_ms(
      bench::run_repetitions(), [] {},
      [&] { exit_code |= run_command(directory.path().native()); });
  if (exit_code != 0) {
    std::printf("the command line failed (exit code %d)\n", exit_code);
    return 1;
  }
  return bench::report_run("the command line", measured, 1.10, market.searches().size());
}
