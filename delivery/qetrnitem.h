#pragma once

#include "deliveryitem.h"

class Cols;
class DBRow;

// One ETRN entry of the ETRN download page: server (with the icon), domains, whether
// authentication is required, and the user. Rows with the same text in the sorted column
// follow the order of their server and then of their domains, as shown.
class QEtrnItem : public DeliveryItem
{
public:
    enum { Type = DeliveryItem::Type + 1 };
    enum Column { Server, Domains, Authentication, User };

    // Shows nothing until show(). The row belongs to the page's table.
    QEtrnItem(QTreeWidget* list, DBRow* row, const Cols* cols);

    // Declares the list's columns: server and domains shown.
    static void addColumns(Cols& cols);

    DBRow* row() const { return m_row; }
    // Writes the row's texts into the shown columns.
    void show();
    QString key(int column, bool ascending) const override;

private:
    QString cellText(int id) const;

    DBRow* m_row;
};
