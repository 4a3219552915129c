#pragma once

#include "deliveryitem.h"

class Cols;
class DBRow;

// One open connection of the connections page: protocol (with the icon), whether it is
// secured, its time as hours, minutes and seconds, the address it comes from, the user and
// a note. The row is read only while the item is made; the item keeps the texts.
class QConnectionItem : public DeliveryItem
{
public:
    enum { Type = DeliveryItem::Type + 3 };
    enum Column { Protocol, Secure, Time, From, User, Info };

    // `position` is the row's place in the answer, which plays no part in the texts or
    // the order.
    QConnectionItem(QTreeWidget* list, const DBRow* row, int position, const Cols* cols);

    // Declares the list's six columns, all shown.
    static void addColumns(Cols& cols);

    // Writes the texts into the shown columns.
    void show();
    // "From" sorts by the address as a number, "Time" by the seconds; every other column by
    // its text.
    QString key(int column, bool ascending) const override;

protected:
    const QString* heldKey(int column) const override;

private:
    QString m_texts[6];
    // Made once: the sort compares them many times.
    QString m_timeKey;
    QString m_addressKey;
};
