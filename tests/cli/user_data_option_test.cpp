// --user-data: the user's data folder as the working directory, for the window the
// desktop menu opens and for the commands alike.

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>
#include <filesystem>

#include "cli/user_data_directory.h"
#include "lists/list_file.h"
#include "support/core/fake_marketplace.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

using test_support::FakeMarketplace;
using testing::read_file;
using testing::write_file;
namespace fs = std::filesystem;

const Text kCode = "9723820700000000040100000C465B4E";

QString path_text(const fs::path& path) {
  return QString::fromStdString(path.native());
}

// The executable started from `started_in`, with the user's data location in `data_home`.
class DataHomeProcess : public QProcess {
 public:
  DataHomeProcess(const fs::path& started_in, const fs::path& data_home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", path_text(data_home));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    setProcessEnvironment(environment);
    setWorkingDirectory(path_text(started_in));
  }
  ~DataHomeProcess() override {
    kill();
    waitForFinished();
  }
  int run(const QStringList& arguments) {
    start(QStringLiteral(SHOP_EXECUTABLE), arguments);
    EXPECT_TRUE(waitForFinished(60000));
    return exitCode();
  }
};

class UserDataOption : public ::testing::Test {
 protected:
  testing::TempDir temp;
  const fs::path started_in = temp.path() / "started-here";
  const fs::path data_home = temp.path() / "data";
  const fs::path data_folder = data_home / "shopkeeper";

  void SetUp() override { fs::create_directories(started_in); }
};

TEST(UserDataDirectory, FollowsTheDataHomeOfTheUser) {
  const QByteArray home = qgetenv("HOME");
  const QByteArray data_home = qgetenv("XDG_DATA_HOME");
  qputenv("HOME", "/home/seller");
  qunsetenv("XDG_DATA_HOME");
  EXPECT_EQ(user_data_directory(), "/home/seller/.local/share/shopkeeper");
  qputenv("XDG_DATA_HOME", "/srv/data");
  EXPECT_EQ(user_data_directory(), "/srv/data/shopkeeper");
  qputenv("HOME", home);
  data_home.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", data_home);
}

// Before or after the command's name, the check works on the lists of the data folder
// and leaves the directory it was started in alone.
TEST_F(UserDataOption, TheCheckWorksInTheDataFolder) {
  FakeMarketplace market;
  market.set_paipai_page("dress", "77", 1, FakeMarketplace::paipai_page({kCode}));
  fs::create_directories(data_folder);
  market.write_settings(data_folder);
  const std::string address = "http://auction1.paipai.com/search/0/" + kCode + "-8B80.html";
  for (const QStringList& arguments :
       {QStringList{"--user-data", "check", "paipai", "--pages", "1"},
        QStringList{"check", "paipai", "--pages", "1", "--user-data"}}) {
    write_file(data_folder / "拍拍排名.txt",
               format_list_text({{"0", "dress", address, "", "", ""}}));
    DataHomeProcess process(started_in, data_home);
    EXPECT_EQ(process.run(arguments), 0) << process.readAllStandardError().toStdString();
    const std::vector<TrackedItem> rows = parse_list_text(read_file(data_folder / "拍拍排名.txt"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][3], testing::gbk("1页第1个")) << arguments.join(' ').toStdString();
  }
  EXPECT_TRUE(fs::is_empty(started_in));
}

TEST_F(UserDataOption, AFirstUseCreatesTheFolderAndNoFileInIt) {
  DataHomeProcess process(started_in, data_home);
  EXPECT_EQ(process.run({"check", "taobao", "--user-data"}), 0);
  EXPECT_TRUE(fs::is_directory(data_folder));
  EXPECT_TRUE(fs::is_empty(data_folder));
  EXPECT_TRUE(fs::is_empty(started_in));
}

TEST_F(UserDataOption, RefusesTwoDirectoriesAndAFolderThatCannotBeMade) {
  write_file(data_home, "a file where the data location should be");
  for (const QStringList& arguments :
       {QStringList{"--user-data", "--dir", path_text(temp.path() / "other")},
        QStringList{"check", "paipai", "--dir", path_text(temp.path() / "other"), "--user-data"},
        QStringList{"--user-data", "check", "paipai"}}) {
    DataHomeProcess process(started_in, data_home);
    EXPECT_EQ(process.run(arguments), 2) << arguments.join(' ').toStdString();
    EXPECT_FALSE(process.readAllStandardError().isEmpty());
  }
  EXPECT_FALSE(fs::exists(temp.path() / "other"));
  EXPECT_TRUE(fs::is_empty(started_in));
}

// The desktop menu's start: the window opens in the data folder.
TEST_F(UserDataOption, TheWindowOpensInTheDataFolder) {
  DataHomeProcess process(started_in, data_home);
  process.start(QStringLiteral(SHOP_EXECUTABLE), {"--user-data"});
  ASSERT_TRUE(process.waitForStarted());
  const fs::path process_directory = "/proc/" + std::to_string(process.processId()) + "/cwd";
  std::error_code error;
  for (int attempt = 0; attempt < 300 && fs::read_symlink(process_directory, error) != data_folder;
       ++attempt) {
    QThread::msleep(100);
  }
  EXPECT_EQ(fs::read_symlink(process_directory, error), data_folder);
  EXPECT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
}

}  // namespace
}  // namespace shop
