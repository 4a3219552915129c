#pragma once

#include "sortkey.h"

#include <QTreeWidgetItem>

#include <QList>

#include <optional>

// A row of a sorted list. The list orders its rows by each row's key of the sorted view
// column (key()), compared as SortKey compares: as the locale orders text, the way the old
// toolkit's list items did by default.
//
// The key of a row is made once, the first time the list compares by a column, and kept
// for that column until a cell's text changes (every setText and every show of the row)
// or the list sorts by another column. A subclass that overrides setData passes the texts
// on to KeyedItem::setData.
//
// Every row class of a list has a type of its own, at or above QTreeWidgetItem::UserType:
// the list compares by keys only rows of one type, and rows of another type as plain
// items do.
class KeyedItem : public QTreeWidgetItem
{
public:
    // The key the list orders view column `column` by: by default the cell's text. The
    // list itself reverses the order for a descending sort; it asks for the ascending key.
    virtual QString key(int column, bool ascending) const;

    bool operator<(const QTreeWidgetItem& other) const override;
    void setData(int column, int role, const QVariant& value) override;

    // Puts `rows` into the order a list sorting them by view column `column` gives them,
    // equal keys in the order they came, and says so. False, the rows left as they came,
    // unless every row is a KeyedItem of one type without children. Rows whose class
    // orders them by anything but their keys (an operator< of its own) must not come here.
    // A row's key is made once, into an array of the keys alone: the list's own sort
    // compares the rows where they lie on the heap, and for a hundred thousand rows its
    // cache misses cost more than the rest of a refresh. The rows keep no key from it.
    static bool sortInListOrder(QList<QTreeWidgetItem*>& rows, int column, Qt::SortOrder order);

protected:
    // A top-level row of list (none: the owner adds it), or a child of parent.
    KeyedItem(QTreeWidget* list, int type);
    KeyedItem(QTreeWidgetItem* parent, int type);
    KeyedItem(QTreeWidget* list, QTreeWidgetItem* after, int type);

    // The kept key goes, for rows whose keys depend on more than their cells' texts.
    void forgetKeys();

private:
    const SortKey& sortKey(int column) const;

    // Held in the row itself: a long sort reads it a few million times.
    mutable std::optional<SortKey> m_key;
    mutable int m_keyColumn = -1;
};
