#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/control_state_store.h"
#include "lists/list_file.h"
#include "support/gui/list_view_input.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

namespace shop {
namespace {

using testing::gbk;
using testing::read_file;
using testing::WindowHarness;
using testing::write_file;

class ControlState : public ::testing::Test {
 protected:
  MainForm& form() { return harness.form(); }
  std::filesystem::path state_file() const { return harness.directory().file("排名.txt"); }
  // Starts the window on a control-state file with these lines (UTF-8, turned into GBK).
  void start_with(const std::string& utf8_lines) {
    write_file(state_file(), gbk(utf8_lines));
    harness.start();
  }
  // Types at the end of the box's text, as a user who clicked behind it would.
  void type_into(QWidget* box, const char* keys) {
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, keys);
  }

  testing::MessageRecorder messages;
  WindowHarness harness;
};

TEST_F(ControlState, StoredValuesAreRestoredAndTheRestoreWritesNothing) {
  const std::string file = "[编辑框]\r\n编辑框1=X\r\n编辑框2=\r\n[组合框]\r\n组合框1=20\r\n";
  start_with(file);
  EXPECT_EQ(control_text(form().编辑框1), "X");
  EXPECT_EQ(control_text(form().编辑框2), "") << "an empty value restores an empty box";
  EXPECT_EQ(control_text(form().组合框1), "20");
  EXPECT_TRUE(form().组合框1->isEnabled());
  EXPECT_EQ(control_text(form().店铺地址), "") << "a control without a key keeps its state";
  harness.restart();
  EXPECT_EQ(control_text(form().组合框1), "20");
  EXPECT_EQ(read_file(state_file()), gbk(file));
}

TEST_F(ControlState, NoFileLeavesTheFormStateAndTheFirstStoreCreatesIt) {
  harness.start();
  EXPECT_FALSE(std::filesystem::exists(state_file()));
  QTest::mouseDClick(form().编辑框2, Qt::LeftButton);
  EXPECT_EQ(read_file(state_file()), gbk("[编辑框]\r\n编辑框2=\r\n"));
  harness.restart();
  EXPECT_EQ(control_text(form().编辑框2), "");
  EXPECT_EQ(control_text(form().编辑框1), gbk("连衣裙"));
}

// A stored text selects a radio button exactly when it reads as true; anything else
// clears it, even the selected button of an auto-exclusive group.
TEST_F(ControlState, RadioButtonsFollowTheStoredTexts) {
  const struct {
    const char* value;
    bool selected;
  } cases[] = {{"是", true},   {"TRUE", true}, {"true", true}, {"1", true},
               {"Yes", false}, {"YES", false}, {"假", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    start_with(std::string("[单选框]\r\n价格=") + c.value + "\r\n");
    EXPECT_EQ(form().价格->isChecked(), c.selected);
    EXPECT_EQ(form().默认->isChecked(), !c.selected);
    harness.stop();
  }

  start_with("[单选框]\r\n默认=假\r\n");
  for (QRadioButton* sort : {form().默认, form().价格, form().销量, form().人气, form().信用}) {
    EXPECT_FALSE(sort->isChecked()) << sort->objectName().toStdString();
  }
  EXPECT_TRUE(form().默认1->isChecked()) << "the Taobao sort choice is another group";
  harness.restart();
  EXPECT_FALSE(form().默认->isChecked());
  EXPECT_EQ(read_file(state_file()), gbk("[单选框]\r\n默认=假\r\n"));
}

TEST_F(ControlState, StoredBoxesKeepEveryChange) {
  harness.start();
  form().组合框1->lineEdit()->clear();
  type_into(form().组合框1->lineEdit(), "abc");
  form().编辑框1->clear();
  type_into(form().编辑框1, "k1");
  set_control_text(form().店铺地址, "http://shop.example/");  // a change by the system
  harness.restart();
  EXPECT_EQ(control_text(form().组合框1), "abc");
  EXPECT_EQ(control_text(form().编辑框1), "k1");
  EXPECT_EQ(control_text(form().店铺地址), "http://shop.example/");

  form().组合框1->setCurrentIndex(3);             // by the program: not stored
  QTest::keyClick(form().组合框1, Qt::Key_Down);  // the user picks the next item, "50"
  harness.restart();
  EXPECT_EQ(control_text(form().组合框1), "50");
}

// The page-count box shows, stores and hands on exactly the keys typed, even where they
// begin one of its list items ("1" of "10", "3" of "30").
TEST_F(ControlState, TypedPageCountIsTakenAsTyped) {
  harness.start();
  harness.window().show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&harness.window()));
  QComboBox* pages = form().组合框1;
  for (const char* typed : {"1", "3", "10", "7x"}) {
    SCOPED_TRACE(typed);
    pages->setFocus();
    QTest::keyClick(pages, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pages, Qt::Key_Backspace);
    QTest::keyClicks(pages, typed);
    QTest::keyClick(pages, Qt::Key_Tab);
    EXPECT_FALSE(pages->hasFocus()) << "Tab moved on";
    EXPECT_EQ(pages->lineEdit()->text().toStdString(), typed);
    EXPECT_EQ(control_text(pages), typed) << "what a ranking run reads";
    EXPECT_EQ(read_file(state_file()),
              "[" + gbk("组合框") + "]\r\n" + gbk("组合框1=") + typed + "\r\n");
  }
  harness.restart();
  EXPECT_EQ(control_text(form().组合框1), "7x");
}

TEST_F(ControlState, OtherControlsAreNeverStored) {
  harness.start();
  for (QLineEdit* box : {form().编_音乐地址, form().编辑框_ww号, form().编辑框_ww提示}) {
    type_into(box, "x");
  }
  form().生成的代码->setPlainText("code");
  form().价格->click();
  form().组合框1->setCurrentText("30");  // set by the program, not picked or typed
  EXPECT_FALSE(std::filesystem::exists(state_file()));
  harness.restart();
  EXPECT_EQ(control_text(form().编_音乐地址), "");
  EXPECT_EQ(control_text(form().编辑框_ww号), "");
  EXPECT_TRUE(form().默认->isChecked());
  EXPECT_EQ(control_text(form().组合框1), "10");
}

TEST_F(ControlState, UntidyFileRestoresByTheReadingRulesAndKeepsForeignKeys) {
  const Text long_value(12000, 'v');
  const Text file =
      gbk("garbage\r\n[编辑框]\r\n编辑框1=\"quoted\"\r\n编辑框1=second\r\n编辑框2\r\n") +
      gbk("编辑框_WW号= spaced \r\n生成的代码=") + long_value + "\r\n" +
      gbk("未知框=keep\r\n[组合框]\r\n组合框1=") + "\xFF\x80" + "\r\n";
  write_file(state_file(), file);
  harness.start();
  EXPECT_EQ(control_text(form().编辑框1), "quoted");
  EXPECT_EQ(control_text(form().编辑框2).substr(0, 7), "http://") << "no key, form state kept";
  EXPECT_EQ(control_text(form().编辑框_ww号), "spaced");
  EXPECT_EQ(control_text(form().生成的代码), long_value.substr(0, 10239));
  EXPECT_EQ(control_text(form().组合框1), "\xFF\x80") << "invalid GBK bytes come back as stored";
  EXPECT_EQ(read_file(state_file()), file);

  type_into(form().编辑框1, "!");
  harness.restart();
  EXPECT_EQ(control_text(form().编辑框1), "quoted!");
  const Text after = read_file(state_file());
  EXPECT_NE(after.find(gbk("编辑框1=quoted!\r\n编辑框1=second\r\n")), Text::npos);
  EXPECT_NE(after.find(gbk("未知框=keep\r\n")), Text::npos);
  EXPECT_EQ(after.size(), file.size() - 2 + 1) << "only the first key line changed";
}

// A list cell may hold a lone CR or LF (the list file only ends its lines with CR LF).
// Copied back into the stored boxes, it must not become lines of the control-state
// file, where it could add a section or a key of its own.
TEST_F(ControlState, ALineBreakInACopiedBackCellAddsNoLine) {
  const Text S = kColumnSeparator;
  const Text address = "A\n[" + gbk("组合框") + "]\n" + gbk("组合框1") + "=999";
  write_file(harness.directory().file("拍拍排名.txt"),
             "0" + S + "k\rx" + S + address + S + S + S + S + "\r\n");
  harness.start();
  harness.window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&harness.window()));
  testing::double_click_row(*form().超级列表框1, 0);
  ASSERT_EQ(control_text(form().编辑框2), address);

  const Text stored_address = "A [" + gbk("组合框") + "] " + gbk("组合框1") + "=999";
  EXPECT_EQ(read_file(state_file()),
            gbk("[编辑框]\r\n编辑框1=k x\r\n编辑框2=") + stored_address + "\r\n");
  harness.restart();
  EXPECT_EQ(control_text(form().组合框1), "10");
  EXPECT_EQ(control_text(form().编辑框1), "k x");
  EXPECT_EQ(control_text(form().编辑框2), stored_address);
}

TEST_F(ControlState, ReadOnlyFileKeepsWhatItHeldWhileTypingGoesOn) {
  const std::string file = "[编辑框]\r\n编辑框1=X\r\n";
  write_file(state_file(), gbk(file));
  std::filesystem::permissions(state_file(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::group_read |
                                                 std::filesystem::perms::others_read);
  harness.start();
  type_into(form().编辑框1, "yz");
  EXPECT_EQ(control_text(form().编辑框1), "Xyz");
  EXPECT_EQ(read_file(state_file()), gbk(file));
  harness.restart();
  EXPECT_EQ(control_text(form().编辑框1), "X");
}

TEST(ControlStateStore, DefaultFileIsTheProgramNameWithIniInTheWorkingDirectory) {
  testing::TempWorkingDirectory directory;
  const std::string program =
      QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
  EXPECT_EQ(ControlStateStore().file_path(), directory.file(program + ".ini"));
}

}  // namespace
}  // namespace shop
