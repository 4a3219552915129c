#pragma once

#include <QTreeWidgetItem>

class Cols;

// What the rows of the delivery lists share: the column model of their list (not owned;
// it outlives the items) and their order, which compares each row's sort key of the sorted
// view column as text. The direction plays no part in a key: the list reverses the order
// itself.
class DeliveryItem : public QTreeWidgetItem
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

protected:
    // A top-level item of `list`; with a null list the page adds the items itself, all at
    // once, which is faster for a long list.
    DeliveryItem(QTreeWidget* list, const Cols* cols, int type = Type);

    // The view column that shows column id `id`; -1 when it is hidden.
    int viewColumn(int id) const;
    // The text of the view column showing id `id`; empty when it is hidden.
    QString textOfId(int id) const;
    // Puts the icon into the view column of id 0 when that column is shown.
    void setIconOfFirst(const QIcon& icon);

    const Cols* m_cols;
};
