#include "history/history_menu.h"

#include <QMenu>

#include "history/history_dialog.h"
#include "history/history_store.h"
#include "ui/gbk.h"
#include "ui/tracking_list_view.h"
#include "web/system_texts.h"
#include "web/unicode_text.h"

namespace shop {

void add_history_menu(TrackingListView& view, std::string_view marketplace) {
  view.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&view, &QWidget::customContextMenuRequested, &view,
                   [&view, name = std::string(marketplace)](const QPoint& position) {
                     QTreeWidgetItem* item = view.itemAt(position);
                     if (item == nullptr) {
                       return;
                     }
                     const int row = view.indexOfTopLevelItem(item);
                     auto* menu = new QMenu(&view);
                     menu->setAttribute(Qt::WA_DeleteOnClose);
                     QAction* action = menu->addAction(from_gbk(kHistoryMenuItem));
                     QObject::connect(action, &QAction::triggered, &view, [&view, name, row] {
                       open_history_dialog(
                           history_file(),
                           {name, gbk_to_utf8(view.cell(row, 1)), gbk_to_utf8(view.cell(row, 2))},
                           view.window());
                     });
                     menu->popup(view.viewport()->mapToGlobal(position));
                   });
}

}  // namespace shop
