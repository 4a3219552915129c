#pragma once

#include "columnitem.h"

class Cols;

// What the rows of the delivery lists share: their order, by each row's sort key of the
// sorted view column (compared and kept as KeyedItem does). The direction plays no part in
// a key: the list reverses the order itself.
class DeliveryItem : public ColumnItem
{
public:
    // Every item class of a list has a type of its own: a list compares only items of one.
    enum { Type = QTreeWidgetItem::UserType + 0x600 };

    QString key(int column, bool ascending) const override = 0;

protected:
    // The key of view column `column` without a copy, for items that hold their texts:
    // null when the item makes that key only as a value (key()).
    virtual const QString* heldKey(int column) const;

    // A top-level item of `list`; with a null list the page adds the items itself, all at
    // once, which is faster for a long list.
    DeliveryItem(QTreeWidget* list, const Cols* cols, int type = Type);
};
