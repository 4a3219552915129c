#include "navigation.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

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

// "A", "B", "C"
QString quotedList(const QStringList& texts)
{
    QStringList quoted;
    for (const QString& text : texts)
        quoted.append(QLatin1Char('"') + text + QLatin1Char('"'));
    return quoted.join(QLatin1String(", "));
}

QString noSuchTitle(const QString& title, const QStringList& titles)
{
    const QString complaint = QStringLiteral("no navigation item titled \"%1\"").arg(title);
    return titles.isEmpty() ? complaint : complaint + QStringLiteral("; the titles are ") + quotedList(titles);
}

// The item to select for title, as selectNavigationItem describes; null with *complaint
// set when there is none.
QTreeWidgetItem* itemForTitle(QTreeWidget* tree, const QString& title, QString* complaint)
{
    const QList<QTreeWidgetItem*> exact = tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive, 0);
    if (!exact.isEmpty())
        return exact.first();
    const QList<QTreeWidgetItem*> anyCase = tree->findItems(title, Qt::MatchFixedString | Qt::MatchRecursive, 0);
    QStringList candidates;
    for (const QTreeWidgetItem* item : anyCase)
        candidates.append(item->text(0));
    candidates.removeDuplicates();
    if (candidates.size() == 1)
        return anyCase.first();
    if (candidates.size() > 1)
        *complaint = QStringLiteral("\"%1\" could be any of the navigation items %2; give the title in its letter case")
                         .arg(title, quotedList(candidates));
    return nullptr;
}

} // namespace

QTreeWidget* navigationTree(const QWidget* window)
{
    QTreeWidget* found = nullptr;
    bool foundShowsTree = false;
    int foundDepth = 0;
    for (QTreeWidget* tree : window->findChildren<QTreeWidget*>()) {
        const bool showsTree = tree->rootIsDecorated();
        const int depth = depthIn(window, tree);
        const bool better = !found || (showsTree && !foundShowsTree)
                            || (showsTree == foundShowsTree && depth < foundDepth);
        if (better) {
            found = tree;
            foundShowsTree = showsTree;
            foundDepth = depth;
        }
    }
    return found;
}

QStringList navigationTitles(QMdiArea* workspace)
{
    QWidget* window = activeWindowOf(workspace);
    QTreeWidget* tree = window ? navigationTree(window) : nullptr;
    QStringList titles;
    if (!tree)
        return titles;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        titles.append((*it)->text(0));
    titles.removeDuplicates();
    return titles;
}

bool selectNavigationItem(QMdiArea* workspace, const QString& title, QString* complaint)
{
    QString why;
    QWidget* window = activeWindowOf(workspace);
    QTreeWidget* tree = window ? navigationTree(window) : nullptr;
    QTreeWidgetItem* item = tree ? itemForTitle(tree, title, &why) : nullptr;
    if (!item) {
        if (complaint)
            *complaint = why.isEmpty() ? noSuchTitle(title, navigationTitles(workspace)) : why;
        return false;
    }
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    tree->setCurrentItem(item);
    tree->scrollToItem(item);
    return true;
}
