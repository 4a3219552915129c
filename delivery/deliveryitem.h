#pragma once

#include "columnitem.h"

class Cols;

// What the rows of the delivery lists share: their order, which compares each row's sort
// key of the sorted view column as text. The direction plays no part in a key: the list
// reverses the order itself.
class DeliveryItem : public ColumnItem
{
public:
    // Every item class of a list has a type of its own: a list compares only items of one.
    enum { Type = QTreeWidgetItem::UserType + 0x600 };

    virtual QString key(int column, bool ascending) const = 0;

    bool operator<(const QTreeWidgetItem& other) const override;

protected:
    // The key of view column `column` without a copy, for items that hold their texts:
    // null when the item makes that key only as a value (key()).
    virtual const QString* heldKey(int column) const;

    // A top-level item of `list`; with a null list the page adds the items itself, all at
    // once, which is faster for a long list.
    DeliveryItem(QTreeWidget* list, const Cols* cols, int type = Type);
};
