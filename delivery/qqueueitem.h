#pragma once

#include "deliveryitem.h"

class Cols;
class DBRow;

// One queued message of the mail queue page: ID (with the icon), created, next try, size,
// sender and recipient. The item keeps its own copy of what it shows and of the message's
// Id: the page's table is emptied by a reload that fails, while the list keeps showing
// these items and the message actions still name the right message.
class QQueueItem : public DeliveryItem
{
public:
    enum { Type = DeliveryItem::Type + 2 };
    enum Column { Id, Created, NextTry, Size, From, To };

    // Takes the row's values; the row is not used afterwards. `position` is the row's place
    // in the answer, which plays no part in the texts or the order.
    QQueueItem(QTreeWidget* list, const DBRow* row, int position, const Cols* cols);

    // Declares the list's six columns, all shown.
    static void addColumns(Cols& cols);

    // The message's Id as the server gave it, whether the column is shown or not.
    const QString& messageId() const { return m_id; }
    // Shows the texts in the shown columns. They are not written into the item: data()
    // reads them from the copies the item keeps, which a queue of a hundred thousand
    // messages would otherwise hold twice, and the icon of the ID column as well, which
    // stored would cost every message two allocations of its own.
    void show();
    // The display text of a shown column from the item's copies, and the icon of the ID
    // column; the rest as stored.
    QVariant data(int column, int role) const override;
    // "Size" sorts by value; every other column by its text as the server formats it.
    QString key(int column, bool ascending) const override;

protected:
    const QString* heldKey(int column) const override;

private:
    // The column id view column `column` shows; -1 for none.
    int idOfColumn(int column) const;

    QString m_id;
    QString m_created;
    QString m_nextTry;
    QString m_size;
    QString m_from;
    QString m_to;
};
