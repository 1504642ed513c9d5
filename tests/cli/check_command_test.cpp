// The command line as a user runs it: the real executable in a temporary working
// directory, against the fake marketplace, beside a window where the test needs one.

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <random>

#include "app/working_directory_wait.h"
#include "cli/working_directory_lock.h"
#include "lists/list_file.h"
#include "support/core/fake_marketplace.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

namespace shop {
namespace {

using test_support::FakeMarketplace;
using testing::gbk;
using testing::read_file;
using testing::write_file;

const Text kCode = "9723820700000000040100000C465B4E";
const Text kOther = "99999999999999999999999999999999";

Text paipai_address(const Text& code) {
  return "http://auction1.paipai.com/search/0/" + code + "-8B80.html";
}

struct Finished {
  int exit_code = -1;
  bool crashed = false;
  QString out;
  QString err;
};

QString path_text(const std::filesystem::path& path) {
  return QString::fromStdString(path.native());
}

QProcess* start_shopkeeper(const QStringList& arguments, const std::filesystem::path& directory) {
  auto* process = new QProcess;
  process->setWorkingDirectory(path_text(directory));
  process->start(QStringLiteral(SHOP_EXECUTABLE), arguments);
  EXPECT_TRUE(process->waitForStarted());
  return process;
}

Finished finish(QProcess* process) {
  // The process may have ended while events were handled (a dialog's loop).
  EXPECT_TRUE(process->state() == QProcess::NotRunning || process->waitForFinished(60000));
  Finished finished{process->exitCode(), process->exitStatus() == QProcess::CrashExit,
                    QString::fromUtf8(process->readAllStandardOutput()),
                    QString::fromUtf8(process->readAllStandardError())};
  delete process;
  return finished;
}

Finished shopkeeper(const QStringList& arguments, const std::filesystem::path& directory) {
  return finish(start_shopkeeper(arguments, directory));
}

class CheckCommand : public ::testing::Test {
 protected:
  FakeMarketplace market;
  testing::TempDir directory;

  std::filesystem::path list_path() const { return directory.file("拍拍排名.txt"); }

  // Writes the settings, the Paipai list and, when given, the control-state file
  // into `folder`.
  void prepare(const std::filesystem::path& folder, const std::vector<TrackedItem>& rows,
               const std::string& control_state = "") {
    market.write_settings(folder);
    write_file(folder / "拍拍排名.txt", format_list_text(rows));
    if (!control_state.empty()) {
      write_file(folder / "排名.txt", control_state);
    }
  }
};

// The same rows, the same stored page count (3) and sort choice (信用, code 9): the
// list file the command line writes equals, byte for byte, the one a window run
// writes, and each row is printed with its result.
TEST_F(CheckCommand, WritesTheListFileAsTheWindowDoes) {
  const std::vector<TrackedItem> rows = {
      {"0", gbk("连衣裙"), paipai_address(kCode), gbk("1页第1个"), "x", "y"},
      {"1", "absent", paipai_address(kCode), "", "", ""},
      {"2", "refused", paipai_address(kCode), "a", "", ""},
      {"5", "nokey", "http://a/none.html", "", "", ""},
  };
  const std::string control_state = gbk("[组合框]\r\n组合框1=3\r\n[单选框]\r\n信用=真\r\n");
  market.set_paipai_page(gbk("连衣裙"), "9", 2, FakeMarketplace::paipai_page({kOther, kCode}));
  market.set_status("refused", 1, 503);

  testing::WindowHarness harness;
  testing::MessageRecorder messages;
  prepare(harness.directory().path(), rows, control_state);
  harness.start();
  harness.form().按钮2->click();
  EXPECT_EQ(messages.take().size(), 1u) << "the item-code message of the row without a code";
  const std::string window_bytes = read_file(harness.directory().file("拍拍排名.txt"));

  prepare(directory.path(), rows, control_state);
  const Finished run = shopkeeper({"check", "paipai"}, directory.path());
  EXPECT_EQ(run.exit_code, 1) << "a row failed";
  EXPECT_EQ(read_file(list_path()), window_bytes);
  EXPECT_EQ(parse_list_text(window_bytes)[1][3], gbk("不在3页内"));
  EXPECT_EQ(run.out, QString::fromUtf8("0\t连衣裙\t2页第2个\n1\tabsent\t不在3页内\n"
                                       "2\trefused\t查询失败\n5\tnokey\t不在3页内\n"));
  for (const auto& search : market.searches()) {
    EXPECT_EQ(search.sort, "9");
  }
}

// Exit codes: 0 when every row was checked, 2 for bad usage (a one-line reason, and
// nothing read or written), 3 when another writer holds the directory.
TEST_F(CheckCommand, ExitCodes) {
  const std::vector<TrackedItem> rows = {{"0", "k", paipai_address(kCode), "", "", ""}};
  prepare(directory.path(), rows);
  const std::string before = read_file(list_path());
  const struct {
    QStringList arguments;
    int exit_code;
  } cases[] = {
      {{"check"}, 2},
      {{"check", "ebay"}, 2},
      {{"check", "paipai", "taobao"}, 2},
      {{"check", "paipai", "--pages", "0"}, 2},
      {{"check", "paipai", "--pages", "-3"}, 2},
      {{"check", "paipai", "--pages", "abc"}, 2},
      {{"check", "paipai", "--pages", "99999999999"}, 2},
      {{"check", "paipai", "--sort", "total"}, 2},
      {{"check", "taobao", "--sort", "cheapest"}, 2},
      {{"check", "paipai", "--bogus"}, 2},
      {{"frobnicate"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    const Finished run = shopkeeper(c.arguments, directory.path());
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
  }
  EXPECT_TRUE(market.searches().empty());
  EXPECT_EQ(read_file(list_path()), before);

  {
    WorkingDirectoryLock window(path_text(directory.path()));
    ASSERT_TRUE(window.try_lock());
    const Finished refused = shopkeeper({"check", "paipai"}, directory.path());
    EXPECT_EQ(refused.exit_code, 3);
    EXPECT_TRUE(refused.err.contains("in use")) << refused.err.toStdString();
    EXPECT_TRUE(market.searches().empty());
    EXPECT_EQ(read_file(list_path()), before);
  }
  const Finished checked = shopkeeper({"check", "paipai", "--pages", "2"}, directory.path());
  EXPECT_EQ(checked.exit_code, 0) << checked.err.toStdString();
  EXPECT_EQ(parse_list_text(read_file(list_path()))[0][3], gbk("不在2页内"));
}

// Values of the settings file that cannot be used are named on one line of standard
// error, without the values themselves, and the run goes on with the defaults.
TEST_F(CheckCommand, UnusableSettingsAreNamedOnOneLineAndTheRunGoesOn) {
  prepare(directory.path(), {{"0", "k", paipai_address(kCode), "", "", ""}});
  const std::filesystem::path settings = directory.file("店长设置.ini");
  write_file(settings, read_file(settings) + "[" + gbk("请求") +
                           "]\r\nCookie=secret-cookie\rX\r\n" + gbk("同时页数=0\r\n"));
  const Finished run = shopkeeper({"check", "paipai", "--pages", "2"}, directory.path());
  EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
  EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
  EXPECT_FALSE(run.err.contains("secret-cookie"));
  EXPECT_EQ(market.searches().size(), 2u);
}

// A missing list is empty: nothing is fetched and no file appears, neither in the
// working directory nor, through --dir, in one that did not exist yet.
TEST_F(CheckCommand, AMissingListIsEmptyAndCreatesNothing) {
  const Finished run = shopkeeper({"check", "taobao"}, directory.path());
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.out.contains("empty"));
  EXPECT_TRUE(std::filesystem::is_empty(directory.path()));

  const std::filesystem::path fresh = directory.path() / "fresh";
  EXPECT_EQ(shopkeeper({"--dir", path_text(fresh), "check", "paipai"}, "/").exit_code, 0);
  EXPECT_TRUE(std::filesystem::is_directory(fresh));
  EXPECT_TRUE(std::filesystem::is_empty(fresh));
  EXPECT_TRUE(market.searches().empty());
}

// List files that are no lists are reported (exit 1) and left as they are, never
// taken for an empty list: a folder, 50 MB of random bytes. Bytes within the limits
// load by the list rules (a zero byte ends the text).
TEST_F(CheckCommand, ListFilesThatAreNoLists) {
  market.write_settings(directory.path());
  std::filesystem::create_directory(list_path());
  const Finished folder = shopkeeper({"check", "paipai", "--pages", "1"}, directory.path());
  EXPECT_EQ(folder.exit_code, 1);
  EXPECT_TRUE(folder.err.contains("list file")) << folder.err.toStdString();
  std::filesystem::remove(list_path());

  std::string noise(50u << 20, '\0');
  std::mt19937 random(7);
  for (char& byte : noise) {
    byte = static_cast<char>(random() | 1);  // no zero byte: the whole file is text
  }
  write_file(list_path(), noise);
  const Finished huge = shopkeeper({"check", "paipai", "--pages", "1"}, directory.path());
  EXPECT_EQ(huge.exit_code, 1);
  EXPECT_EQ(huge.err.count('\n'), 1) << huge.err.toStdString();
  EXPECT_TRUE(read_file(list_path()) == noise) << "left as it was";

  noise.resize(4096);
  noise[100] = '\0';
  write_file(list_path(), noise);
  const size_t rows = parse_list_text(noise).size();
  const Finished small = shopkeeper({"check", "paipai", "--pages", "1"}, directory.path());
  EXPECT_FALSE(small.crashed);
  EXPECT_EQ(small.exit_code, 0) << small.err.toStdString();
  EXPECT_EQ(parse_list_text(read_file(list_path())).size(), rows);
  EXPECT_TRUE(market.searches().size() == rows);
}

// A run killed while it fetches leaves the list file exactly as it was, and its lock
// does not keep the next run out.
TEST_F(CheckCommand, AKilledRunLeavesTheListAsItWas) {
  prepare(directory.path(), {{"0", "a", paipai_address(kCode), "p", "", ""},
                             {"1", "b", paipai_address(kCode), "q", "", ""}});
  const std::string before = read_file(list_path());
  market.set_delay(std::chrono::milliseconds(200));
  QProcess* process = start_shopkeeper({"check", "paipai", "--pages", "30"}, directory.path());
  ASSERT_TRUE(testing::wait_until([&] { return !market.searches_for("b").empty(); }));
  ::kill(static_cast<pid_t>(process->processId()), SIGKILL);
  finish(process);
  EXPECT_EQ(read_file(list_path()), before);
  // The rank history of the row that finished (with its WAL files) is no stray file.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory.path())) {
    if (!entry.path().filename().string().starts_with("排名历史.db")) {
      names.push_back(entry.path().filename().string());
    }
  }
  EXPECT_EQ(names.size(), 2u) << "no stray file beside the list and the settings";

  market.set_delay(std::chrono::milliseconds(0));
  const Finished next = shopkeeper({"check", "paipai", "--pages", "1"}, directory.path());
  EXPECT_EQ(next.exit_code, 0) << "the killed run's lock is taken over: " << next.err.toStdString();
}

// A window that starts while a command-line run works in its directory waits, with
// its note shown, until the run has ended and then opens with the run's results.
// While the window is open a run is refused and the window's edits are saved.
TEST_F(CheckCommand, TheWindowWaitsForARunAndThenHoldsTheDirectory) {
  testing::WindowHarness harness;
  const std::filesystem::path folder = harness.directory().path();
  prepare(folder, {{"0", "k", paipai_address(kCode), "old", "", ""}});
  market.set_paipai_page("k", "77", 1, FakeMarketplace::paipai_page({kCode}));
  market.set_delay(std::chrono::milliseconds(300));
  QProcess* process = start_shopkeeper({"check", "paipai", "--pages", "1"}, folder);
  ASSERT_TRUE(testing::wait_until([&] { return !market.searches().empty(); }));

  WorkingDirectoryLock lock(path_text(folder));
  bool note_shown = false;
  QTimer::singleShot(50, [&] {
    const QWidget* modal = QApplication::activeModalWidget();
    note_shown = modal != nullptr && modal->objectName() == QString::fromUtf8(kDirectoryWaitName);
  });
  EXPECT_TRUE(wait_for_working_directory(lock));
  EXPECT_TRUE(note_shown);
  EXPECT_EQ(finish(process).exit_code, 0);

  harness.start();
  TrackingListView* list = harness.form().超级列表框1;
  ASSERT_EQ(list->row_count(), 1);
  EXPECT_EQ(list->cell(0, 3), gbk("1页第1个"));
  EXPECT_EQ(list->cell(0, 4), "old");

  market.set_delay(std::chrono::milliseconds(0));
  const Finished refused = shopkeeper({"check", "paipai", "--pages", "1"}, folder);
  EXPECT_EQ(refused.exit_code, 3);
  set_control_text(harness.form().编辑框1, "typed");
  set_control_text(harness.form().编辑框2, paipai_address(kOther));
  harness.form().按钮1->click();
  const std::vector<TrackedItem> saved = parse_list_text(read_file(folder / "拍拍排名.txt"));
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0][3], gbk("1页第1个"));
  EXPECT_EQ(saved[1][1], "typed");
}

// The user may give up waiting: the window then does not open and writes nothing.
TEST_F(CheckCommand, WaitingForTheDirectoryCanBeGivenUp) {
  WorkingDirectoryLock run(path_text(directory.path()));
  ASSERT_TRUE(run.try_lock());
  WorkingDirectoryLock window(path_text(directory.path()));
  QTimer::singleShot(50, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      modal->findChild<QPushButton*>()->click();
    }
  });
  EXPECT_FALSE(wait_for_working_directory(window));
  EXPECT_FALSE(window.is_locked());
}

TEST(CommandLine, VersionAndHelp) {
  testing::TempDir directory;
  const Finished version = shopkeeper({"--version"}, directory.path());
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "shopkeeper " + QStringLiteral(SHOP_VERSION_TEXT) + "\n");
  const Finished help = shopkeeper({"check", "--help"}, directory.path());
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(help.out.startsWith("Usage: shopkeeper check paipai|taobao"))
      << help.out.toStdString();
  EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
}

}  // namespace
}  // namespace shop
