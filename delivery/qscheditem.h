#pragma once

#include "deliveryitem.h"
#include "untouchedflag.h"

class Cols;
class DBRow;
class WndSched;

// One scheduled action of the Scheduling page: its time (with the icon), actions,
// description and whether it may dial. The check box is the row's "enabled": on for any
// value but 0, written only by the administrator's toggle, and judged against what the
// server holds, not against what the entry showed at its last refill (UntouchedFlag). Rows
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
    static bool showsOn(const QString& enabled);
    // "enabled" as the server holds it, and how the box shows that; with no page, a row the
    // server does not hold.
    UntouchedFlag storedEnabled() const;

    DBRow* m_row;
    WndSched* m_page;
};
