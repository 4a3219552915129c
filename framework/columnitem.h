#pragma once

#include "keyeditem.h"

class Cols;
class QIcon;

// A list entry whose cells follow its list's column model: column id k is shown in view
// column dispinv[k] while showFlags[k] is set (Cols::showItem writes them). The model is
// the list's, not owned, and outlives the item.
class ColumnItem : public KeyedItem
{
protected:
    // A top-level item of `list`; with a null list the owner adds the items itself, all at
    // once (QTreeWidget::addTopLevelItems), which is faster for a long list.
    ColumnItem(QTreeWidget* list, const Cols* cols, int type);

    // The view column that shows column id `id`; -1 when it is hidden or the model has no
    // such id (or there is no model).
    int viewColumn(int id) const;
    // The text of the view column showing id `id`; empty when it is hidden.
    QString textOfId(int id) const;
    // Puts the icon into the view column of id 0 when that column is shown.
    void setIconOfFirst(const QIcon& icon);

    const Cols* m_cols;
};
