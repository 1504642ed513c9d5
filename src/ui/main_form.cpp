#include "ui/main_form.h"

#include "ui/control_text.h"
#include "web/system_texts.h"

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>

// Resources compiled into a static library must be registered by name.
static void register_bundled_resources() {
  Q_INIT_RESOURCE(resources);
}

namespace shop {

const char* const kFormCaption = " 淘宝 拍拍 店长软件(排名查询 友情检测 代码生成)";

namespace {

// Where a container's controls may lie: `room` is the area the container shows, and
// `origin` is where the container's corner lies in the frame its controls' places are
// given in (a tab page lies below its tab row, yet places on it are measured from the
// tab control's corner).
struct Container {
  QWidget* widget;
  QPoint origin;
  QSize room;
};

Container whole(QWidget* widget, QSize room) {
  return Container{widget, QPoint(0, 0), room};
}

// A control keeps its place where it fits; one that would begin outside the room (under
// a tab row) moves inside, and whatever still sticks out is cut, so that no control is
// clipped by its container.
QRect fitted(QRect place, QSize room) {
  place.moveTo(std::max(place.left(), 0), std::max(place.top(), 0));
  place.setWidth(std::min(place.width(), room.width() - place.left()));
  place.setHeight(std::min(place.height(), room.height() - place.top()));
  return place;
}

template <class Control>
Control* create(const Container& parent, const char* name, int x, int y, int width, int height) {
  auto* control = new Control(parent.widget);
  control->setObjectName(QString::fromUtf8(name));
  control->setGeometry(fitted(QRect(x, y, width, height).translated(-parent.origin), parent.room));
  return control;
}

// The member name is the control's window name: one spelling for both.
#define SHOP_CONTROL(member, parent, x, y, width, height) \
  member = create<std::remove_pointer_t<decltype(member)>>(parent, #member, x, y, width, height)

void set_text(QWidget* control, const char* text) {
  show_control_text(control, QString::fromUtf8(text));
}

QFont pixel_font(int pixels, bool bold = false) {
  QFont font;
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// The tab control fills in its frame's style option in a protected member; a derived
// name reaches it without changing the control's class.
struct TabFrame : QTabWidget {
  using QTabWidget::initStyleOption;
};

// The area of `tabs` where its pages are shown, as the toolkit will lay it out: known
// before the tab control is first shown, when its controls are placed.
QRect page_area(const QTabWidget* tabs) {
  QStyleOptionTabWidgetFrame option;
  (tabs->*&TabFrame::initStyleOption)(&option);
  return tabs->style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, tabs);
}

Container page_of(QTabWidget* tabs, const char* caption) {
  auto* page = new QWidget();
  tabs->addTab(page, QString::fromUtf8(caption));
  const QRect area = page_area(tabs);
  return Container{page, area.topLeft(), area.size()};
}

void show_picture(QLabel* picture, const char* resource) {
  picture->setPixmap(QPixmap(QString::fromUtf8(resource)));
  picture->setScaledContents(true);
}

}  // namespace

MainForm::MainForm(QWidget* window, const Text& paipai_item_site) {
  register_bundled_resources();
  const Container top = whole(window, kClientSize);

  SHOP_CONTROL(超文本浏览框1, top, 0, 0, 728, 71);
  SHOP_CONTROL(分组框3, top, 8, 71, 621, 100);
  SHOP_CONTROL(按钮3, top, 632, 117, 70, 34);
  set_text(按钮3, "删除");
  SHOP_CONTROL(选择夹1, top, 8, 178, 704, 327);
  SHOP_CONTROL(进度条1, top, 10, 513, 699, 15);
  SHOP_CONTROL(进度条2, top, 10, 529, 699, 15);
  for (QProgressBar* bar : {进度条1, 进度条2}) {
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
  }

  const Container group = whole(分组框3, 分组框3->size());
  SHOP_CONTROL(按钮2, group, 8, 18, 118, 63);
  set_text(按钮2, "开始拍拍检测排名");
  SHOP_CONTROL(按钮6, group, 135, 18, 81, 32);
  set_text(按钮6, "清空列表");
  SHOP_CONTROL(按钮8, group, 135, 50, 81, 31);
  set_text(按钮8, "使用帮助");
  SHOP_CONTROL(标签1, group, 244, 10, 43, 24);
  set_text(标签1, "关键字:");
  SHOP_CONTROL(编辑框1, group, 296, 12, 227, 24);
  set_text(编辑框1, "连衣裙");
  SHOP_CONTROL(按钮1, group, 528, 8, 85, 25);
  set_text(按钮1, "拍拍添加");
  SHOP_CONTROL(标签2, group, 249, 41, 39, 24);
  set_text(标签2, "网址:");
  SHOP_CONTROL(编辑框2, group, 296, 42, 228, 22);
  show_control_text(编辑框2, QString::fromLatin1(paipai_item_site.c_str()) +
                                 "/search/0/9723820700000000040100000C465B4E-8B80.html");
  SHOP_CONTROL(按钮7, group, 528, 35, 42, 25);
  set_text(按钮7, "清空");
  SHOP_CONTROL(按钮4, group, 573, 35, 39, 25);
  set_text(按钮4, "打开");
  SHOP_CONTROL(标签3, group, 248, 72, 32, 16);
  set_text(标签3, "查询:");
  SHOP_CONTROL(组合框1, group, 296, 69, 71, 20);
  组合框1->setEditable(true);
  组合框1->setInsertPolicy(QComboBox::NoInsert);  // typed page counts stay out of the list
  组合框1->setCompleter(nullptr);                 // the box holds exactly what was typed
  组合框1->addItems({"5", "10", "20", "30", "50", "70", "100"});
  组合框1->setCurrentIndex(1);
  SHOP_CONTROL(标签4, group, 374, 70, 36, 16);
  set_text(标签4, "页以内");

  // Drawn after the group box, over its lower edge, pointing down at the page tabs.
  SHOP_CONTROL(标签11, top, 136, 160, 96, 16);
  set_text(标签11, "淘宝查询点这↓");
  标签11->setFont(pixel_font(12, true));

  选择夹1->tabBar()->setFont(pixel_font(14));

  const Container paipai = page_of(选择夹1, " 拍拍排名检测 ");
  SHOP_CONTROL(标签6, paipai, 341, 35, 51, 16);
  set_text(标签6, "排序规则:");
  SHOP_CONTROL(默认, paipai, 416, 37, 54, 16);
  set_text(默认, "默认");
  SHOP_CONTROL(价格, paipai, 471, 37, 54, 16);
  set_text(价格, "价格");
  SHOP_CONTROL(销量, paipai, 528, 37, 54, 16);
  set_text(销量, "销量");
  SHOP_CONTROL(人气, paipai, 584, 38, 54, 16);
  set_text(人气, "人气");
  SHOP_CONTROL(信用, paipai, 640, 37, 54, 16);
  set_text(信用, "信用");
  默认->setChecked(true);
  SHOP_CONTROL(超级列表框1, paipai, 8, 58, 688, 259);

  const Container taobao = page_of(选择夹1, " 淘宝排名检测 ");
  SHOP_CONTROL(标签7, taobao, 253, 37, 51, 16);
  set_text(标签7, "排序规则:");
  SHOP_CONTROL(人气1, taobao, 355, 39, 54, 16);
  set_text(人气1, "人气");
  SHOP_CONTROL(默认1, taobao, 416, 39, 54, 16);
  set_text(默认1, "默认");
  SHOP_CONTROL(价格1, taobao, 471, 39, 54, 16);
  set_text(价格1, "价格");
  SHOP_CONTROL(销量1, taobao, 528, 39, 54, 16);
  set_text(销量1, "销量");
  SHOP_CONTROL(总价, taobao, 584, 40, 54, 16);
  set_text(总价, "总价");
  SHOP_CONTROL(信用1, taobao, 640, 39, 54, 16);
  set_text(信用1, "信用");
  默认1->setChecked(true);
  SHOP_CONTROL(超级列表框2, taobao, 8, 60, 688, 259);

  const std::vector<TrackingListView::Column> list_columns = {
      {"id", 50},        {kKeywordHeader, 80},  {kAddressHeader, 300},
      {kRankHeader, 80}, {kLastRankHeader, 80}, {kRankBeforeLastHeader, 80}};
  超级列表框1->set_columns(list_columns);
  超级列表框2->set_columns(list_columns);

  const Container friends = page_of(选择夹1, " 淘宝 拍拍 友情链接检测 ");
  SHOP_CONTROL(店铺地址1, friends, 37, 31, 115, 24);
  set_text(店铺地址1, "淘宝或拍拍店铺地址:");
  SHOP_CONTROL(店铺地址, friends, 155, 34, 405, 21);
  SHOP_CONTROL(按钮_友情检测, friends, 562, 33, 86, 25);
  set_text(按钮_友情检测, "检测友情链接");
  SHOP_CONTROL(超级列表框3, friends, 32, 63, 528, 228);
  超级列表框3->set_columns(
      {{"id", 50}, {kLinkHeader, 200}, {kLinkNameHeader, 200}, {kStatusHeader, 60}});

  const Container codes = page_of(选择夹1, " 店长代码生成 ");
  SHOP_CONTROL(选择夹2, codes, 10, 35, 686, 274);
  选择夹2->tabBar()->setFont(pixel_font(16));

  const Container music = page_of(选择夹2, " 淘宝背景音乐代码 ");
  SHOP_CONTROL(标签8, music, 24, 40, 55, 24);
  set_text(标签8, "音乐地址:");
  SHOP_CONTROL(编_音乐地址, music, 88, 40, 304, 24);
  SHOP_CONTROL(按钮9, music, 400, 40, 112, 24);
  set_text(按钮9, "生成代码");
  SHOP_CONTROL(生成的代码, music, 8, 81, 672, 184);

  const Container wangwang = page_of(选择夹2, " 淘宝旺旺在线代码 ");
  SHOP_CONTROL(分组框1, wangwang, 17, 28, 317, 101);
  set_text(分组框1, "风格");
  SHOP_CONTROL(分组框2, wangwang, 342, 29, 335, 99);
  set_text(分组框2, "信息");
  SHOP_CONTROL(编辑框_ww生成的代码, wangwang, 18, 137, 659, 128);

  const Container style = whole(分组框1, 分组框1->size());
  SHOP_CONTROL(单选框1, style, 21, 21, 99, 22);
  SHOP_CONTROL(单选框2, style, 22, 57, 99, 22);
  for (auto [radio, picture] : {std::pair{单选框1, ":/images/ww_style1_online.png"},
                                std::pair{单选框2, ":/images/ww_style2_online.png"}}) {
    set_text(radio, "单选框");
    radio->setIcon(QIcon(QString::fromUtf8(picture)));
    radio->setIconSize(QSize(40, 16));
  }
  单选框1->setChecked(true);
  SHOP_CONTROL(图片框1, style, 133, 24, 80, 19);
  SHOP_CONTROL(图片框2, style, 226, 24, 80, 19);
  SHOP_CONTROL(图片框3, style, 133, 57, 80, 22);
  SHOP_CONTROL(图片框4, style, 226, 57, 80, 22);
  show_picture(图片框1, ":/images/ww_style1_online.png");
  show_picture(图片框2, ":/images/ww_style1_offline.png");
  show_picture(图片框3, ":/images/ww_style2_online.png");
  show_picture(图片框4, ":/images/ww_style2_offline.png");

  const Container info = whole(分组框2, 分组框2->size());
  SHOP_CONTROL(标签9, info, 56, 28, 48, 16);
  set_text(标签9, "旺旺号:");
  SHOP_CONTROL(编辑框_ww号, info, 112, 20, 132, 24);
  SHOP_CONTROL(标签10, info, 21, 57, 81, 16);
  set_text(标签10, "图片提示信息:");
  SHOP_CONTROL(编辑框_ww提示, info, 112, 56, 132, 24);
  SHOP_CONTROL(按钮10, info, 256, 20, 64, 62);
  set_text(按钮10, "生成");

  const Container updates = page_of(选择夹1, " 官方更新 ");
  SHOP_CONTROL(超文本浏览框2, updates, 8, 32, 688, 272);
}

#undef SHOP_CONTROL

std::vector<QWidget*> MainForm::input_controls_in_form_order() const {
  return {编辑框2,       编辑框1,     编辑框_ww生成的代码,
          编辑框_ww提示, 编辑框_ww号, 生成的代码,
          编_音乐地址,   店铺地址,    组合框1,
          人气1,         单选框2,     单选框1,
          价格1,         默认1,       销量1,
          总价,          信用1,       默认,
          价格,          销量,        人气,
          信用};
}

}  // namespace shop
