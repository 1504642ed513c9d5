#include <gtest/gtest.h>

#include <QTest>

#include "codegen/snippets.h"
#include "support/gui/recorders.h"
#include "support/gui/window_harness.h"
#include "ui/control_text.h"

namespace shop {
namespace {

using testing::gbk;
using testing::MessageRecorder;
using testing::WindowHarness;

void click(QPushButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

TEST(CodeGenerators, EmptyInputsShowTheirMessageAndLeaveTheOutput) {
  MessageRecorder messages;
  WindowHarness harness;
  harness.start();
  MainForm& form = harness.form();
  struct Case {
    const char* music;
    const char* id;
    const char* tip;
    QPushButton* button;
    QWidget* output;
    const char* message;
  };
  const Case cases[] = {
      {"", "", "", form.按钮9, form.生成的代码, "音乐地址不能为空"},
      {"m", "", "", form.按钮10, form.编辑框_ww生成的代码, "旺旺地址不能为空"},
      {"m", "", "t", form.按钮10, form.编辑框_ww生成的代码, "旺旺地址不能为空"},
      {"m", "abc", "", form.按钮10, form.编辑框_ww生成的代码, "旺旺提示不能为空"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    set_control_text(form.编_音乐地址, c.music);
    set_control_text(form.编辑框_ww号, c.id);
    set_control_text(form.编辑框_ww提示, c.tip);
    set_control_text(c.output, "earlier");
    click(c.button);
    EXPECT_EQ(messages.take(), (std::vector<Message>{{gbk(c.message), gbk("提示"), 64}}));
    EXPECT_EQ(control_text(c.output), "earlier");
  }
}

TEST(CodeGenerators, ButtonsWriteTheSnippetsWithTheConfiguredStatusHost) {
  WindowHarness harness;
  testing::write_file(harness.directory().file("店长设置.ini"),
                      gbk("[站点]\r\n旺旺状态主机=ww.example\r\n"));
  harness.start();
  MainForm& form = harness.form();

  set_control_text(form.编_音乐地址, " ");
  set_control_text(form.生成的代码, "earlier");
  click(form.按钮9);
  click(form.按钮9);
  EXPECT_EQ(control_text(form.生成的代码), music_snippet(" "));

  set_control_text(form.编辑框_ww号, "abc");
  set_control_text(form.编辑框_ww提示, "hi");
  struct Case {
    bool style1, style2;
    Text style;
  };
  for (const Case& c : {Case{true, false, "1"}, Case{false, true, "2"}, Case{false, false, ""}}) {
    // Unchecking both needs the group's exclusivity off.
    form.单选框1->setAutoExclusive(c.style1 || c.style2);
    form.单选框2->setAutoExclusive(c.style1 || c.style2);
    form.单选框1->setChecked(c.style1);
    form.单选框2->setChecked(c.style2);
    click(form.按钮10);
    click(form.按钮10);
    EXPECT_EQ(control_text(form.编辑框_ww生成的代码),
              wangwang_snippet("ww.example", "abc", "hi", c.style))
        << "style " << c.style;
  }
}

}  // namespace
}  // namespace shop
