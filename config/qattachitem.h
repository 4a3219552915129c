#pragma once

#include "ruleitem.h"

class WndAvir;

// One attachment filter rule of the Antivirus page's list. The rules keep the order of their "order" values whichever column the list is sorted
// by and in either direction: the list's order is the order the server applies them in.
// The page is not owned; it exchanges the rows of two items when it moves a rule.
class QAttachItem : public RuleItem
{
public:
    // Column ids of the list, in the order the page declares them.
    enum Column { Type, Content, Action };

    // With a null list the page adds the items itself, all at once; with a null page the
    // check box writes the row and hands nothing in.
    QAttachItem(QTreeWidget* list, DBRow* row, Cols* cols, WndAvir* page);

    // The check box from "enabled", then the texts of the shown columns.
    void show();

    // The rule's "order" as a number (0 when it holds none).
    static int orderOf(const DBRow* row);
    // The position as text, "%06d" ascending and 100000 minus it descending, whatever the
    // column, so that sorting in either direction keeps the rules in order.
    QString key(int column, bool ascending) const override;
    bool operator<(const QTreeWidgetItem& other) const override;

protected:
    void handIn() override;

private:
    WndAvir* m_page;
};
