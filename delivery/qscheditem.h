#pragma once

#include "deliveryitem.h"

class Cols;
class DBRow;
class WndSched;

// One scheduled action of the Scheduling page: its time (with the icon), actions,
// description and whether it may dial. The check box is the row's "enabled": on for any
// value but 0. Showing the row writes nothing, so a stored value other than 0 or 1 stays
// as it is until the administrator toggles the box; a toggle writes "1" or "0", and
// toggling back to the state the row was shown in writes back the text it held. Rows sort
// by the text of the sorted column alone.
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
    // The check box and the texts from the row.
    void show();
    // Writes "enabled", hands the page's difference over, then shows the state.
    void setOn(bool on);
    bool isOn() const;
    QString key(int column, bool ascending) const override;

    // A click on the check box arrives here.
    void setData(int column, int role, const QVariant& value) override;

private:
    QString cellText(int id) const;
    void showOn(bool on);

    DBRow* m_row;
    WndSched* m_page;
    QString m_shownEnabled; // the row's "enabled" when it was last shown
};
