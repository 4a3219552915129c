#pragma once

#include "deliveryitem.h"

class Cols;
class DBRow;
class WndSched;

// One scheduled action of the Scheduling page: its time (with the icon), actions,
// description and whether it may dial. The check box is the row's "enabled": setting it,
// by the administrator or when the item shows its row, writes "1" or "0" into the row, so
// a stored value other than 0 or 1 becomes a pending change as soon as it is shown. Rows
// sort by the text of the sorted column alone.
class QSchedItem : public DeliveryItem
{
public:
    enum { Type = DeliveryItem::Type + 4 };
    enum Column { Time, Actions, Description, Dial };

    // Unchecked and empty until show(). The row belongs to the page's table, the page
    // outlives the item.
    QSchedItem(QTreeWidget* list, DBRow* row, const Cols* cols, WndSched* page);

    // Declares the list's columns: all but "RAS" shown.
    static void addColumns(Cols& cols);

    DBRow* row() const { return m_row; }
    // The check box and the texts from the row, then the page's hand-over.
    void show();
    // As show(), without the hand-over: the page hands over once for a whole list.
    void showQuietly();
    // Writes "enabled", hands the page's difference over, then shows the state.
    void setOn(bool on);
    bool isOn() const;
    QString key(int column, bool ascending) const override;

    // A click on the check box arrives here.
    void setData(int column, int role, const QVariant& value) override;

private:
    QString cellText(int id) const;
    void writeOn(bool on);

    DBRow* m_row;
    WndSched* m_page;
};
