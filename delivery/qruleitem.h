#pragma once

#include "deliveryitem.h"

class Cols;
class DBRow;

// One sorting rule of the POP3 download page: the address looked for in a collected
// message, and the local recipient. Rules with the same text in the sorted column follow
// the order of the other column.
class QRuleItem : public DeliveryItem
{
public:
    enum { Type = DeliveryItem::Type + 5 };
    enum Column { SortAddress, DeliverTo };

    // Shows nothing until show(). The row belongs to the page's table.
    QRuleItem(QTreeWidget* list, DBRow* row, const Cols* cols);

    // Declares the list's two columns, both shown.
    static void addColumns(Cols& cols);
    // A rule the list never shows (its sort address is "@"); it stays in the table.
    static bool isHidden(const DBRow* row);

    DBRow* row() const { return m_row; }
    void show();
    QString key(int column, bool ascending) const override;

private:
    QString cellText(int id) const;

    DBRow* m_row;
};
