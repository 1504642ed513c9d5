#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QUrl>

#include "lists/list_file.h"
#include "lists/list_store.h"
#include "support/core/list_lines.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

namespace shop {
namespace {

using testing::gbk;
using testing::list_line;
using testing::read_file;
using testing::WindowHarness;
using testing::write_file;

Text text_of(QWidget* control) {
  return control_text(control);
}

std::vector<Text> column(const TrackingListView* view, int column) {
  std::vector<Text> cells;
  for (int row = 0; row < view->row_count(); ++row) {
    cells.push_back(view->cell(row, column));
  }
  return cells;
}

TEST(MainWindow, FirstStartInAnEmptyDirectory) {
  WindowHarness harness;
  harness.start();
  MainForm& form = harness.form();

  EXPECT_EQ(harness.window().windowTitle().toStdString(),
            " 淘宝 拍拍 店长软件(排名查询 友情检测 代码生成) V2.0  shopkeeper 官网: "
            "https://shopkeeper.example.org  QQ:000000");
  EXPECT_EQ(text_of(form.编辑框1), gbk("连衣裙"));
  EXPECT_EQ(text_of(form.编辑框2),
            "http://auction1.paipai.com/search/0/9723820700000000040100000C465B4E-8B80.html");
  EXPECT_EQ(text_of(form.组合框1), "10");
  EXPECT_TRUE(form.组合框1->isEnabled());
  EXPECT_TRUE(form.默认->isChecked());
  EXPECT_TRUE(form.默认1->isChecked());
  EXPECT_TRUE(form.单选框1->isChecked());
  EXPECT_EQ(text_of(form.按钮1), gbk("拍拍添加"));
  EXPECT_EQ(form.超级列表框1->row_count(), 0);
  EXPECT_EQ(form.超级列表框2->row_count(), 0);
  EXPECT_EQ(form.超文本浏览框1->address(), "qrc:/pages/banner.html");
  EXPECT_EQ(form.超文本浏览框2->address(), "qrc:/pages/updates.html");
  EXPECT_EQ(harness.state().search_address_parts.size(), 5u);
  EXPECT_TRUE(std::filesystem::is_empty(harness.directory().path())) << "start-up writes nothing";
}

// Every control is reachable under its window name with the kind, place and text the
// form gives it (a sample across containers; the form builds all of them one way).
TEST(MainWindow, ControlsHaveTheirNamesKindsAndPlaces) {
  WindowHarness harness;
  harness.start();
  struct Expected {
    const char* name;
    const char* kind;
    QRect place;
  };
  const Expected controls[] = {
      {"超文本浏览框1", "shop::BrowserView", {0, 0, 725, 71}},  // cut to the window
      {"按钮3", "QPushButton", {632, 117, 70, 34}},
      {"选择夹1", "QTabWidget", {8, 178, 704, 327}},
      {"进度条2", "QProgressBar", {10, 529, 699, 15}},
      {"按钮2", "QPushButton", {8, 18, 118, 63}},
      {"组合框1", "QComboBox", {296, 69, 71, 20}},
      {"编辑框2", "QLineEdit", {296, 42, 228, 22}},
      {"分组框1", "QGroupBox", {}},
      {"图片框4", "QLabel", {226, 57, 80, 22}},
      {"按钮10", "QPushButton", {256, 20, 64, 62}},
      {"生成的代码", "QPlainTextEdit", {}},
      {"超级列表框3", "shop::TrackingListView", {}},
      {"编辑框_ww号", "QLineEdit", {112, 20, 132, 24}},
  };
  for (const Expected& expected : controls) {
    SCOPED_TRACE(expected.name);
    QWidget* control = harness.control<QWidget>(expected.name);
    ASSERT_NE(control, nullptr);
    EXPECT_STREQ(control->metaObject()->className(), expected.kind);
    if (!expected.place.isNull()) {
      EXPECT_EQ(control->geometry(), expected.place);
    }
  }
  QTabWidget* tabs = harness.form().选择夹1;
  ASSERT_EQ(tabs->count(), 5);
  EXPECT_EQ(tabs->tabText(2), QString::fromUtf8(" 淘宝 拍拍 友情链接检测 "));
  EXPECT_EQ(harness.form().选择夹2->count(), 2);
  EXPECT_EQ(harness.form().组合框1->count(), 7);
  EXPECT_EQ(harness.form().标签11->font().pixelSize(), 12);
  EXPECT_TRUE(harness.form().标签11->font().bold());
  EXPECT_EQ(tabs->tabBar()->font().pixelSize(), 14);
  EXPECT_EQ(harness.form().选择夹2->tabBar()->font().pixelSize(), 16);
}

TEST(MainWindow, StartUpShowsThePaipaiListOnly) {
  WindowHarness harness;
  write_file(harness.directory().file("拍拍排名.txt"),
             list_line("0", gbk("连衣裙"), "A") + list_line("1", "k", "B"));
  write_file(harness.directory().file("淘宝排名.txt"), list_line("7", "t", "T"));
  harness.start();
  EXPECT_EQ(column(harness.form().超级列表框1, 1), (std::vector<Text>{gbk("连衣裙"), "k"}));
  EXPECT_EQ(harness.form().超级列表框2->row_count(), 0);
}

TEST(MainWindow, PageChangesReloadTheListOfTheNewPage) {
  WindowHarness harness;
  write_file(harness.directory().file("拍拍排名.txt"), list_line("0", "p", "P"));
  write_file(harness.directory().file("淘宝排名.txt"),
             list_line("0", "t1", "T") + list_line("1", "t2", "T"));
  harness.start();
  MainForm& form = harness.form();

  form.选择夹1->setCurrentIndex(2);
  EXPECT_EQ(form.超级列表框1->row_count(), 0);
  EXPECT_EQ(column(form.超级列表框2, 1), (std::vector<Text>{"t1", "t2"}));
  EXPECT_EQ(text_of(form.按钮1), gbk("淘宝宝贝添加"));
  EXPECT_EQ(text_of(form.按钮2), gbk("开始淘宝检测排名"));

  form.选择夹1->setCurrentIndex(3);
  EXPECT_EQ(form.超级列表框2->row_count(), 2) << "rows are shown once, not twice";

  write_file(harness.directory().file("拍拍排名.txt"),
             list_line("0", "p", "P") + list_line("1", "q", "Q"));
  form.选择夹1->setCurrentIndex(0);
  EXPECT_EQ(column(form.超级列表框1, 1), (std::vector<Text>{"p", "q"}));
  EXPECT_EQ(form.超级列表框2->row_count(), 0);
  EXPECT_EQ(text_of(form.按钮1), gbk("拍拍宝贝添加"));
  EXPECT_EQ(text_of(form.按钮2), gbk("开始拍拍检测排名"));
}

TEST(MainWindow, DoubleClickEmptiesTheItemAddress) {
  WindowHarness harness;
  harness.start();
  QTest::mouseDClick(harness.form().编辑框2, Qt::LeftButton);
  EXPECT_EQ(text_of(harness.form().编辑框2), "");
}

// Points the user's cache folder somewhere else for the life of a test.
class CacheFolder {
 public:
  explicit CacheFolder(const std::filesystem::path& folder)
      : saved_(qgetenv("XDG_CACHE_HOME")), was_set_(qEnvironmentVariableIsSet("XDG_CACHE_HOME")) {
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(folder.string()));
  }
  ~CacheFolder() {
    if (was_set_) {
      qputenv("XDG_CACHE_HOME", saved_);
    } else {
      qunsetenv("XDG_CACHE_HOME");
    }
  }

 private:
  QByteArray saved_;
  bool was_set_;
};

// The bundled help page goes into the user's own cache folder, never under a name
// in the shared temporary folder that another user could have taken first.
TEST(MainWindow, HelpButtonOpensTheBundledHelpPageFromTheUsersCache) {
  testing::BrowserRecorder browser;
  WindowHarness harness;
  const std::filesystem::path cache = harness.directory().file("cache");
  CacheFolder cache_folder(cache);
  harness.start();
  QTest::mouseClick(harness.form().按钮8, Qt::LeftButton);
  const std::filesystem::path folder = cache / QCoreApplication::applicationName().toStdString();
  const QByteArray expected =
      QUrl::fromLocalFile(QString::fromStdString((folder / "help.html").string())).toEncoded();
  EXPECT_EQ(browser.take(), std::vector<Text>{expected.toStdString()});
  EXPECT_NE(read_file(folder / "help.html").find("使用帮助"), std::string::npos);
  EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
}

TEST(MainWindow, HelpPageThatCannotBeWrittenIsNotOpened) {
  testing::BrowserRecorder browser;
  WindowHarness harness;
  write_file(harness.directory().file("plain"), "a file, not a folder");
  CacheFolder cache_folder(harness.directory().file("plain") / "cache");
  harness.start();
  QTest::mouseClick(harness.form().按钮8, Qt::LeftButton);
  EXPECT_EQ(browser.take(), std::vector<Text>{});
}

TEST(MainWindow, SettingsFileOverridesAndFillsGaps) {
  WindowHarness harness;
  write_file(harness.directory().file("店长设置.ini"),
             "garbage line\r\n[" + gbk("搜索地址") + "]\r\n1=mid\r\n[" + gbk("厂商") + "]\r\n" +
                 gbk("名称") + "=" + gbk("小店") + "\r\n" + gbk("帮助页") + "=http://help/\r\n");
  harness.start();
  const std::vector<Text>& parts = harness.state().search_address_parts;
  ASSERT_EQ(parts.size(), 5u);
  EXPECT_EQ(parts[1], "mid");
  EXPECT_EQ(parts[0], default_settings().search_address_parts[0]);
  EXPECT_NE(harness.window().windowTitle().indexOf(QString::fromUtf8("V2.0  小店 官网: ")), -1);

  testing::BrowserRecorder browser;
  QTest::mouseClick(harness.form().按钮8, Qt::LeftButton);
  EXPECT_EQ(browser.take(), std::vector<Text>{"http://help/"});
}

TEST(MainWindow, UnusableSettingsAreNamedInOneMessageAtStartUp) {
  testing::MessageRecorder messages;
  WindowHarness harness;
  write_file(harness.directory().file("店长设置.ini"),
             "[" + gbk("请求") + "]\r\nCookie=sid=top-secret\rX: 1\r\n" + gbk("同时页数=0\r\n") +
                 "[" + gbk("规则") + "]\r\n" + gbk("拍拍列表=zoomImg(this,'([A-Z0-9]+)\r\n"));
  harness.start();
  const std::vector<Message> shown = messages.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, gbk("设置"));
  EXPECT_EQ(shown[0].flags, 64);
  for (const char* key : {"[请求] Cookie", "[请求] 同时页数", "[规则] 拍拍列表"}) {
    EXPECT_NE(shown[0].text.find(gbk(key)), Text::npos) << key;
  }
  EXPECT_EQ(shown[0].text.find("top-secret"), Text::npos);
}

// Any bytes loaded into a list view are saved back unchanged, even where they are
// not valid GBK.
TEST(TrackingListView, KeepsTheExactBytesOfEveryCell) {
  WindowHarness harness;
  harness.start();
  const Text odd =
      "\x80\xFF\xB0"
      "A\x81\x30 \xFE\x20";  // not GBK, but whole pairs
  const Text file = list_line("0", odd, "\xFE\xFE") + list_line("1", gbk("连衣裙"), "x");
  write_file(harness.directory().file("拍拍排名.txt"), file);
  TrackingListView& view = *harness.form().超级列表框1;
  load_list_file(view, harness.directory().file("拍拍排名.txt"));
  ASSERT_EQ(view.row_count(), 2);
  EXPECT_EQ(view.cell(0, 1), odd);
  save_list_file(view, harness.directory().file("copy.txt"));
  EXPECT_EQ(read_file(harness.directory().file("copy.txt")), file);
}

TEST(ListFiles, ReadOnlyOrMissingTargetsKeepTheFormerFileWhole) {
  WindowHarness harness;
  harness.start();
  TrackingListView& view = *harness.form().超级列表框1;
  view.set_cell(view.append_row(), 1, "new");
  const auto path = harness.directory().file("拍拍排名.txt");
  write_file(path, list_line("0", "old", "A"));
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  save_list_file(view, path);
  EXPECT_EQ(read_file(path), list_line("0", "old", "A"));
  save_list_file(view, harness.directory().file("missing/拍拍排名.txt"));  // nothing to see
  EXPECT_EQ(view.row_count(), 1);
}

}  // namespace
}  // namespace shop
