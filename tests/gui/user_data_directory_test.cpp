#include "app/user_data_directory.h"

#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>
#include <optional>

#include "support/core/temp_dir.h"

namespace {

using shop::testing::TempDir;
namespace fs = std::filesystem;

// Sets (or, with no value, removes) an environment variable for one scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, std::optional<QByteArray> value)
      : name_(name), had_value_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name)) {
    if (value) {
      qputenv(name, *value);
    } else {
      qunsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (had_value_) {
      qputenv(name_, previous_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_value_;
  QByteArray previous_;
};

QString current_directory() {
  return QDir::current().canonicalPath();
}

TEST(UserDataDirectory, FollowsTheDataHomeOfTheUser) {
  ScopedEnvironment home("HOME", QByteArray("/home/seller"));
  {
    ScopedEnvironment data_home("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(shop::user_data_directory(), "/home/seller/.local/share/shopkeeper");
  }
  ScopedEnvironment data_home("XDG_DATA_HOME", QByteArray("/srv/data"));
  EXPECT_EQ(shop::user_data_directory(), "/srv/data/shopkeeper");
}

class EnterWorkingDirectory : public ::testing::Test {
 protected:
  void SetUp() override { started_in_ = QDir::currentPath(); }
  void TearDown() override { QDir::setCurrent(started_in_); }

  TempDir temp_;
  QString started_in_;
};

TEST_F(EnterWorkingDirectory, CreatesMissingFoldersOnFirstUseAndKeepsWhatIsThereLater) {
  const fs::path folder = temp_.path() / "share" / "shopkeeper";
  const QString path = QString::fromStdString(folder.string());

  ASSERT_TRUE(shop::enter_working_directory(path));
  EXPECT_EQ(current_directory(), QString::fromStdString(fs::canonical(folder).string()));
  EXPECT_TRUE(fs::is_empty(folder));

  shop::testing::write_file(folder / "list.txt", "rows");
  QDir::setCurrent(started_in_);
  ASSERT_TRUE(shop::enter_working_directory(path));
  EXPECT_EQ(current_directory(), QString::fromStdString(fs::canonical(folder).string()));
  EXPECT_EQ(shop::testing::read_file(folder / "list.txt"), "rows");
}

TEST_F(EnterWorkingDirectory, RefusesWhatCannotBeAFolderAndStaysWhereItWas) {
  shop::testing::write_file(temp_.file("taken"), "a file, not a folder");
  const QString before = current_directory();
  for (const QString& path :
       {QString::fromStdString(temp_.file("taken").string()),
        QString::fromStdString((temp_.path() / "taken" / "below").string()), QString()}) {
    EXPECT_FALSE(shop::enter_working_directory(path)) << path.toStdString();
    EXPECT_EQ(current_directory(), before) << path.toStdString();
  }
  EXPECT_EQ(shop::testing::read_file(temp_.file("taken")), "a file, not a folder");
}

}  // namespace
