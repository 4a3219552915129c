#pragma once

#include "keyeditem.h"

class DBRow;

// A list entry standing for one row of a client-side table, or for none (a heading such
// as the name of a group of rows); it sorts by its cells' texts. The row belongs to its
// table, which outlives the item.
class RowItem : public KeyedItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 0x500 };

    RowItem(QTreeWidget* list, DBRow* row) : KeyedItem(list, Type), m_row(row) {}
    RowItem(QTreeWidgetItem* parent, DBRow* row) : KeyedItem(parent, Type), m_row(row) {}

    DBRow* row() const { return m_row; }

    // The row behind any item of a list filled with RowItems; null for other items.
    static DBRow* rowOf(const QTreeWidgetItem* item)
    {
        return item && item->type() == Type ? static_cast<const RowItem*>(item)->m_row : nullptr;
    }

private:
    DBRow* m_row;
};
