#pragma once
// The controls of the main window, each under its window name (also its objectName),
// at its place, with its initial text.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <vector>

#include "ui/browser_view.h"
#include "ui/tracking_list_view.h"
#include "web/text.h"

namespace shop {

// The caption the form gives the window; the created handler appends to it.
extern const char* const kFormCaption;
// The window's client area, which with the frame Windows draws gives the outer size
// 731 x 587.
inline constexpr QSize kClientSize{725, 559};

class MainForm {
 public:
  // Builds every control on `window`. `paipai_item_site` (scheme and host) begins
  // the example item address shown in 编辑框2.
  MainForm(QWidget* window, const Text& paipai_item_site);

  // Every edit box, combo box, radio button and check box in the form's order,
  // which is the order their saved states are restored in.
  std::vector<QWidget*> input_controls_in_form_order() const;

  // Directly on the window.
  BrowserView* 超文本浏览框1;
  QGroupBox* 分组框3;
  QLabel* 标签11;
  QPushButton* 按钮3;
  QTabWidget* 选择夹1;
  QProgressBar* 进度条1;
  QProgressBar* 进度条2;

  // Inside 分组框3: the ranking job's inputs and buttons.
  QPushButton* 按钮2;
  QPushButton* 按钮6;
  QPushButton* 按钮8;
  QLabel* 标签1;
  QLineEdit* 编辑框1;
  QPushButton* 按钮1;
  QLabel* 标签2;
  QLineEdit* 编辑框2;
  QPushButton* 按钮7;
  QPushButton* 按钮4;
  QLabel* 标签3;
  QComboBox* 组合框1;
  QLabel* 标签4;

  // Page 0: the Paipai tracking list.
  QLabel* 标签6;
  QRadioButton* 默认;
  QRadioButton* 价格;
  QRadioButton* 销量;
  QRadioButton* 人气;
  QRadioButton* 信用;
  TrackingListView* 超级列表框1;

  // Page 1: the Taobao tracking list.
  QLabel* 标签7;
  QRadioButton* 人气1;
  QRadioButton* 默认1;
  QRadioButton* 价格1;
  QRadioButton* 销量1;
  QRadioButton* 总价;
  QRadioButton* 信用1;
  TrackingListView* 超级列表框2;

  // Page 2: the friend-link check.
  QLabel* 店铺地址1;
  QLineEdit* 店铺地址;
  QPushButton* 按钮_友情检测;
  TrackingListView* 超级列表框3;

  // Page 3: the code generators.
  QTabWidget* 选择夹2;
  QLabel* 标签8;
  QLineEdit* 编_音乐地址;
  QPushButton* 按钮9;
  QPlainTextEdit* 生成的代码;
  QGroupBox* 分组框1;
  QGroupBox* 分组框2;
  QPlainTextEdit* 编辑框_ww生成的代码;
  QRadioButton* 单选框1;
  QRadioButton* 单选框2;
  QLabel* 图片框1;
  QLabel* 图片框2;
  QLabel* 图片框3;
  QLabel* 图片框4;
  QLabel* 标签9;
  QLineEdit* 编辑框_ww号;
  QLabel* 标签10;
  QLineEdit* 编辑框_ww提示;
  QPushButton* 按钮10;

  // Page 4: the vendor's product page.
  BrowserView* 超文本浏览框2;
};

}  // namespace shop
