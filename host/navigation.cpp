#include "navigation.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

namespace {

// The active window, or, while the workspace itself is not active (no window manager, a
// script), the one it would activate: the most recent.
QWidget* activeWindowOf(QMdiArea* workspace)
{
    QMdiSubWindow* frame = workspace->currentSubWindow();
    if (!frame) {
        const QList<QMdiSubWindow*> frames = workspace->subWindowList(QMdiArea::CreationOrder);
        if (!frames.isEmpty())
            frame = frames.last();
    }
    return frame ? frame->widget() : nullptr;
}

} // namespace

bool selectNavigationItem(QMdiArea* workspace, const QString& title)
{
    QWidget* window = activeWindowOf(workspace);
    if (!window)
        return false;
    for (QTreeWidget* tree : window->findChildren<QTreeWidget*>()) {
        const QList<QTreeWidgetItem*> items
            = tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive, 0);
        if (items.isEmpty())
            continue;
        QTreeWidgetItem* item = items.first();
        for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
            parent->setExpanded(true);
        tree->setCurrentItem(item);
        tree->scrollToItem(item);
        return true;
    }
    return false;
}
