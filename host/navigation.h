#pragma once

#include <QString>
#include <QStringList>

class QMdiArea;
class QTreeWidget;
class QWidget;

// The module's main window keeps its navigation in a tree widget and switches pages when the
// tree's current item changes. Its navigation tree is its outermost tree widget that shows a
// tree (its root decorated): the pages in its pane may hold trees of their own (a list of a
// group's items shows the same titles), but they lie deeper in the window than the
// navigation beside them; and the request log that layout mode 1 adds below the tree and
// the page, nearer the window's top than the tree, is a flat list. The order of the window's
// children tells nothing, since raising a widget reorders them. Without a tree that shows
// one, the outermost list stands for it. Null when window has no tree widget.
QTreeWidget* navigationTree(const QWidget* window);

// The titles of the items of the navigation tree of the workspace's active window, each
// once, in the tree's order (a parent before its children); empty when there is none.
QStringList navigationTitles(QMdiArea* workspace);

// Selects the navigation item titled `title` in the active window of the workspace, as if
// the administrator had clicked it: the first item of the window's navigation tree with
// exactly this text in its first column, at any depth; failing that, the first one whose
// title differs from it in letter case only, as long as no other title does. Collapsed
// parents are opened. Returns false when there is no such item or the letter case leaves
// several titles to choose from; *complaint then says so and names the titles there are.
bool selectNavigationItem(QMdiArea* workspace, const QString& title, QString* complaint = nullptr);
