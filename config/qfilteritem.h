#pragma once

#include <QTreeWidgetItem>

class Cols;
class DBRow;
class QTreeWidget;
class WndAntispam;

// One header filter rule of the Antispam page's list. Its check box is the rule's
// "enabled": setting it, by the administrator or when the item shows its row, writes "1"
// or "0" into the row and hands the page's statements in again, so a stored value other
// than 0 or 1 is a pending change as soon as the rule is shown. The row, the column model
// and the page are not owned; all three outlive the item.
class QFilterItem : public QTreeWidgetItem
{
public:
    // Column ids of the list, in the order the page declares them.
    enum Column { Header, Type, Content };

    // An unchecked item of `list` with no texts yet; show() gives them. With a null list
    // the page adds the items itself, all at once. With a null page the check box writes
    // the row and hands nothing in.
    QFilterItem(QTreeWidget* list, DBRow* row, Cols* cols, WndAntispam* page);

    DBRow* row() const { return m_row; }

    // The check box from "enabled" (anything but a number other than 0 is off), then the
    // texts of the shown columns; the header cell carries the rule icon.
    void show();
    // The check box and the row's "enabled", then the page's hand-in.
    void setOn(bool on);
    bool isOn() const;

    // The sort key of view column `column`: the cell's text, 16 blanks, and the text the
    // rule is told apart by next (the type for the header column, the header otherwise).
    // The direction plays no part: the list reverses the order itself.
    QString key(int column, bool ascending) const;
    bool operator<(const QTreeWidgetItem& other) const override;

    // A click on the check box arrives here.
    void setData(int column, int role, const QVariant& value) override;

private:
    QString textOfId(int id) const;

    DBRow* m_row;
    Cols* m_cols;
    WndAntispam* m_page;
};
