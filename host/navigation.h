#pragma once

#include <QString>

class QMdiArea;

// Selects the navigation item titled `title` in the active window of the workspace, as if
// the administrator had clicked it: the module's main window keeps its navigation in a
// tree widget and switches pages when the tree's current item changes. The tree searched is
// the first tree widget of that window (the navigation tree is built before any page) that
// has an item with exactly this text in its first column, at any depth; collapsed parents
// are opened. Returns false when there is no such item.
bool selectNavigationItem(QMdiArea* workspace, const QString& title);
