#pragma once

#include "ruleitem.h"

class WndAntispam;

// One header filter rule of the Antispam page's list. The page is not owned and outlives
// the item.
class QFilterItem : public RuleItem
{
public:
    // Column ids of the list, in the order the page declares them.
    enum Column { Header, Type, Content };

    // An unchecked item of `list` with no texts yet; show() gives them. With a null list
    // the page adds the items itself, all at once. With a null page the check box writes
    // the row and hands nothing in.
    QFilterItem(QTreeWidget* list, DBRow* row, Cols* cols, WndAntispam* page);

    // The check box from "enabled" (anything but a number other than 0 is off), then the
    // texts of the shown columns; the header cell carries the rule icon.
    void show();
    // The sort key of view column `column`: the cell's text, 16 blanks, and the text the
    // rule is told apart by next (the type for the header column, the header otherwise).
    // The direction plays no part: the list reverses the order itself.
    QString key(int column, bool ascending) const override;

protected:
    void handIn() override;

private:
    QString textOfId(int id) const;

    WndAntispam* m_page;
};
