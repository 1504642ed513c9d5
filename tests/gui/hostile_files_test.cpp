// Start-up in a working directory where one file is not what the window expects: the
// window stays up, shows everything else, and says once what it could not take.
#include <gtest/gtest.h>

#include <QTest>

#include "lists/list_file.h"
#include "support/core/hostile_file_kinds.h"
#include "support/core/list_lines.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

namespace shop {
namespace {

namespace fs = std::filesystem;
using testing::gbk;
using testing::HostileFileKind;
using testing::WindowHarness;

const Text kListFile = "拍拍排名.txt";
const Text kStateFile = "排名.txt";
const Text kSettingsFile = "店长设置.ini";

Text list_content() {
  return testing::list_line("0", "kw", "A");
}
Text state_content() {
  return "[" + gbk("编辑框") + "]\r\n" + gbk("编辑框1") + "=X\r\n";
}
Text settings_content() {
  return "[" + gbk("厂商") + "]\r\n" + gbk("名称") + "=" + gbk("小店") + "\r\n";
}

struct HostileCase {
  std::string name;
  Text file;
  HostileFileKind kind;
  Text message;  // in UTF-8; empty when the window says nothing
};

class HostileFile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileFile, WindowStaysUpAndShowsTheRest) {
  const HostileCase& c = GetParam();
  if (c.kind == HostileFileKind::unreadable && ::geteuid() == 0) {
    GTEST_SKIP() << "every file is readable for root";
  }
  testing::MessageRecorder messages;
  WindowHarness harness;
  const auto& dir = harness.directory();
  const std::pair<Text, Text> files[] = {{kListFile, list_content()},
                                         {kStateFile, state_content()},
                                         {kSettingsFile, settings_content()}};
  for (const auto& [name, content] : files) {
    if (name == c.file) {
      testing::make_hostile_file(dir.file(name), c.kind, 64 * kMebibyte, content);
    } else {
      testing::write_file(dir.file(name), content);
    }
  }
  harness.start();

  std::vector<Message> expected;
  if (!c.message.empty()) {
    expected.push_back({gbk(c.message), gbk("信息："), 64});
  }
  EXPECT_EQ(messages.take(), expected);
  const bool shown = c.kind == HostileFileKind::symlink_to_file;
  MainForm& form = harness.form();
  EXPECT_EQ(form.超级列表框1->row_count(), c.file != kListFile || shown ? 1 : 0);
  EXPECT_EQ(control_text(form.编辑框1), c.file != kStateFile || shown ? "X" : gbk("连衣裙"));
  EXPECT_EQ(harness.window().windowTitle().contains(QString::fromUtf8("小店")),
            c.file != kSettingsFile || shown);

  // Editing the list and typing go on; a file that is not a regular one stays as it is.
  const auto type_before = fs::symlink_status(dir.file(c.file)).type();
  QTest::mouseClick(form.按钮1, Qt::LeftButton);
  QTest::keyClick(form.编辑框1, Qt::Key_Z);
  EXPECT_EQ(fs::symlink_status(dir.file(c.file)).type(), type_before);
  EXPECT_FALSE(testing::has_save_leftovers(dir.path()));
  EXPECT_EQ(messages.take(), std::vector<Message>{});
}

const char* kNotRegular = " 不是普通文件（而是目录、管道或设备等）";

std::vector<HostileCase> hostile_cases() {
  std::vector<HostileCase> cases;
  const std::pair<Text, const char*> consequences[] = {
      {kListFile, "，列表未载入。"},
      {kStateFile, "，保存的输入未恢复，新的输入也不会记录。"},
      {kSettingsFile, "，使用默认设置。"}};
  const char* labels[] = {"List", "State", "Settings"};
  int label = 0;
  for (const auto& [file, consequence] : consequences) {
    const Text limit = file == kListFile ? " 超过 16 MiB" : " 超过 1 MiB";
    const std::pair<HostileFileKind, Text> kinds[] = {
        {HostileFileKind::directory, file + kNotRegular + consequence},
        {HostileFileKind::fifo, file + kNotRegular + consequence},
        {HostileFileKind::dev_zero_link, file + kNotRegular + consequence},
        {HostileFileKind::too_large, file + limit + consequence},
        {HostileFileKind::symlink_to_file, ""},
        {HostileFileKind::dangling_symlink, ""},
        {HostileFileKind::unreadable, ""}};
    for (const auto& [kind, message] : kinds) {
      for (const auto& special : testing::hostile_file_cases()) {
        if (special.kind == kind) {
          cases.push_back({std::string(labels[label]) + special.name, file, kind, message});
        }
      }
    }
    ++label;
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFile, ::testing::ValuesIn(hostile_cases()),
                         [](const auto& info) { return info.param.name; });

// Millions of empty lines: no row for each of them, and one message.
TEST(HostileFile, ListOfMillionsOfEmptyLinesIsNotLoaded) {
  testing::MessageRecorder messages;
  WindowHarness harness;
  Text lines;
  for (int i = 0; i < 5'000'000; ++i) {
    lines += "\r\n";
  }
  testing::write_file(harness.directory().file(kListFile), lines);
  harness.start();
  const Message expected{gbk("拍拍排名.txt 超过 100000 行，列表未载入。"), gbk("信息："), 64};
  EXPECT_EQ(messages.take(), std::vector<Message>{expected});
  EXPECT_EQ(harness.form().超级列表框1->row_count(), 0);
}

// A cell of megabytes keeps its exact bytes but shows only its beginning, cut where a
// character begins (an odd byte in front moves every character start).
TEST(HostileFile, HugeCellKeepsItsBytesAndShowsItsBeginning) {
  TrackingListView view;
  view.set_columns({{"id", 50}, {"k", 80}, {"u", 300}, {"p", 80}, {"q", 80}, {"r", 80}});
  Text huge = "a";
  while (huge.size() < kMebibyte) {
    huge += gbk("连衣裙");
  }
  view.append_rows(std::vector<TrackedItem>{{"0", huge, "\xB0"}});
  EXPECT_EQ(view.cell(0, 1), huge);
  EXPECT_EQ(view.cell(0, 2), "\xB0");
  const QString shown = view.topLevelItem(0)->text(1);
  EXPECT_TRUE(shown.startsWith(QString::fromUtf8("a连衣裙")));
  EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
  EXPECT_LT(shown.size(), 600);
  EXPECT_FALSE(shown.contains(QChar::ReplacementCharacter));
}

}  // namespace
}  // namespace shop
