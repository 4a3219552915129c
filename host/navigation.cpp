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

// How many widgets lie between window and widget.
int depthIn(const QWidget* window, const QWidget* widget)
{
    int depth = 0;
    for (const QWidget* parent = widget->parentWidget(); parent && parent != window;
         parent = parent->parentWidget())
        ++depth;
    return depth;
}

} // namespace

QTreeWidget* navigationTree(const QWidget* window)
{
    QTreeWidget* outermost = nullptr;
    int outermostDepth = 0;
    for (QTreeWidget* tree : window->findChildren<QTreeWidget*>()) {
        const int depth = depthIn(window, tree);
        if (!outermost || depth < outermostDepth) {
            outermost = tree;
            outermostDepth = depth;
        }
    }
    return outermost;
}

bool selectNavigationItem(QMdiArea* workspace, const QString& title)
{
    QWidget* window = activeWindowOf(workspace);
    QTreeWidget* tree = window ? navigationTree(window) : nullptr;
    if (!tree)
        return false;
    const QList<QTreeWidgetItem*> items = tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive, 0);
    if (items.isEmpty())
        return false;
    QTreeWidgetItem* item = items.first();
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    tree->setCurrentItem(item);
    tree->scrollToItem(item);
    return true;
}
