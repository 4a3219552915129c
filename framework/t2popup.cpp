#include "t2popup.h"

#include <QAction>
#include <QMenu>
#include <QObject>

bool T2Popup::fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* /*item*/)
{
    // Ids number the entries in the order they were put in.
    QAction* action = menu.addAction(QObject::tr("&Modify Columns..."));
    action->setData(int(menu.actions().size()) - 1);
    QObject::connect(action, SIGNAL(triggered()), receiver, SLOT(slotCols()));
    return true;
}

void T2Popup::showPopupMenu(QWidget* receiver, const QPoint& pos, QTreeWidgetItem* item)
{
    // Not the receiver's child: the entry chosen runs while the menu is still handling the
    // choice, and it may close the page (a lost connection closes the main window). A
    // child would be destroyed under the menu's own feet.
    QMenu menu;
    // The entries of a page that has gone mean nothing any more.
    QObject::connect(receiver, &QObject::destroyed, &menu, &QMenu::close);
    if (fillPopupMenu(menu, receiver, item)) {
        menu.setMouseTracking(true);
        menu.exec(pos);
    }
}
