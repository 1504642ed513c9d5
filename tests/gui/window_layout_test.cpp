#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <functional>
#include <set>

#include "support/gui/window_harness.h"

namespace shop {
namespace {

using testing::WindowHarness;

class WindowLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    harness.start();
    harness.window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&harness.window()));
  }

  // Shows each page of both tab controls in turn, laid out as the user sees it.
  void for_each_page(const std::function<void()>& check) {
    QTabWidget* main_tabs = harness.form().选择夹1;
    QTabWidget* code_tabs = harness.form().选择夹2;
    for (int page = 0; page < main_tabs->count(); ++page) {
      main_tabs->setCurrentIndex(page);
      for (int code_page = 0; code_page < (page == 3 ? code_tabs->count() : 1); ++code_page) {
        code_tabs->setCurrentIndex(code_page);
        QCoreApplication::processEvents();
        SCOPED_TRACE(::testing::Message() << "page " << page << "." << code_page);
        check();
      }
    }
  }

  WindowHarness harness;
};

// Every control lies wholly inside its container, and none reaches under a tab row.
TEST_F(WindowLayout, NoControlIsClippedOrUnderATabRow) {
  // The form's controls carry their Chinese window names; the inner parts of the
  // toolkit's widgets (scroll buttons, viewports, tab bars) have ASCII names or none.
  std::set<QWidget*> controls;
  for (QWidget* widget : harness.window().findChildren<QWidget*>()) {
    const QString name = widget->objectName();
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() >= 0x80; })) {
      controls.insert(widget);
    }
  }
  std::set<QWidget*> seen;
  for_each_page([&] {
    for (QWidget* control : controls) {
      if (!control->isVisible()) {
        continue;
      }
      const QString name = control->objectName();
      seen.insert(control);
      const QWidget* container = control->parentWidget();
      EXPECT_TRUE(container->rect().contains(control->geometry()))
          << name.toStdString() << " at " << control->geometry().x() << ","
          << control->geometry().y() << " " << control->width() << "x" << control->height()
          << " in " << container->width() << "x" << container->height();
      for (QTabWidget* tabs : {harness.form().选择夹1, harness.form().选择夹2}) {
        if (control != tabs && tabs->isAncestorOf(control)) {
          const QRect on_tabs(control->mapTo(tabs, QPoint(0, 0)), control->size());
          EXPECT_FALSE(on_tabs.intersects(tabs->tabBar()->geometry()))
              << name.toStdString() << " under the tab row";
        }
      }
    }
  });
  for (QWidget* control : controls) {
    EXPECT_TRUE(seen.count(control)) << control->objectName().toStdString() << " never shown";
  }
}

// Places on a tab page are measured from the tab control's corner. A control that fits
// there sits exactly at its place; one whose place begins under the tab row moves just
// below it and keeps its size.
TEST_F(WindowLayout, TabPageControlsSitAtTheirPlaces) {
  const struct {
    const char* name;
    QRect place;
  } controls[] = {
      {"标签6", {341, 35, 51, 16}},
      {"默认", {416, 37, 54, 16}},
      {"人气", {584, 38, 54, 16}},
      {"超级列表框1", {8, 58, 688, 259}},
      {"标签7", {253, 37, 51, 16}},
      {"总价", {584, 40, 54, 16}},
      {"超级列表框2", {8, 60, 688, 259}},
      {"店铺地址1", {37, 31, 115, 24}},
      {"店铺地址", {155, 34, 405, 21}},
      {"按钮_友情检测", {562, 33, 86, 25}},
      {"超级列表框3", {32, 63, 528, 228}},
      {"选择夹2", {10, 35, 686, 274}},
      {"超文本浏览框2", {8, 32, 688, 272}},
      {"标签8", {24, 40, 55, 24}},
      {"编_音乐地址", {88, 40, 304, 24}},
      {"生成的代码", {8, 81, 672, 184}},
      {"分组框1", {17, 28, 317, 101}},
      {"分组框2", {342, 29, 335, 99}},
      {"编辑框_ww生成的代码", {18, 137, 659, 128}},
  };
  std::set<std::string> placed;
  for_each_page([&] {
    for (const auto& expected : controls) {
      auto* control = harness.window().findChild<QWidget*>(QString::fromUtf8(expected.name));
      ASSERT_NE(control, nullptr) << expected.name;
      if (!control->isVisible()) {
        continue;
      }
      QWidget* page = control->parentWidget();
      auto* tabs = qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget());
      ASSERT_NE(tabs, nullptr) << expected.name << " lies on a tab page";
      const QPoint page_corner = page->mapTo(tabs, QPoint(0, 0));
      QRect place = expected.place;
      place.moveTop(std::max(place.top(), page_corner.y()));
      EXPECT_EQ(QRect(control->mapTo(tabs, QPoint(0, 0)), control->size()), place) << expected.name;
      placed.insert(expected.name);
    }
  });
  EXPECT_EQ(placed.size(), std::size(controls));
}

}  // namespace
}  // namespace shop
