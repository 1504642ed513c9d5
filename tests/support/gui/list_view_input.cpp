#include "support/gui/list_view_input.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace shop::testing {
namespace {

QPoint row_centre(const TrackingListView& view, int row) {
  return view.visualItemRect(view.topLevelItem(row)).center();
}

void send_mouse(TrackingListView& view, QEvent::Type type, QPoint at) {
  const Qt::MouseButtons held =
      type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), QPointF(view.viewport()->mapToGlobal(at)), Qt::LeftButton,
                    held, {});
  QApplication::sendEvent(view.viewport(), &event);
}

}  // namespace

void click_row(TrackingListView& view, int row) {
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, row_centre(view, row));
}

void double_click_row(TrackingListView& view, int row) {
  const QPoint at = row_centre(view, row);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    send_mouse(view, type, at);
  }
}

void click_below_rows(TrackingListView& view) {
  const int rows = view.row_count();
  const int below = rows == 0 ? 5 : view.visualItemRect(view.topLevelItem(rows - 1)).bottom() + 5;
  ASSERT_LT(below, view.viewport()->height()) << "the view has room below its rows";
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, below));
}

}  // namespace shop::testing
