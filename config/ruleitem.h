#pragma once

#include "keyeditem.h"

class Cols;
class DBRow;
class QTreeWidget;

// A rule of the Antispam or Antivirus page's list, whose check box is the rule's
// "enabled": setting it, by the administrator or when the item shows its row, writes "1" or
// "0" into the row and then has the page hand its statements in again, so a stored value
// other than 0 or 1 is a pending change as soon as the rule is shown. The row and the
// column model are not owned; both outlive the item.
class RuleItem : public KeyedItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 0x700 };

    DBRow* row() const { return m_row; }
    void setRow(DBRow* row) { m_row = row; }

    // The check box and the row's "enabled", then the hand-in.
    void setOn(bool on);
    bool isOn() const;

    // A click on the check box arrives here.
    void setData(int column, int role, const QVariant& value) override;

protected:
    // An unchecked item of `list`; with a null list the page adds the items itself, all at
    // once.
    RuleItem(QTreeWidget* list, DBRow* row, Cols* cols);

    // The check box from the row: on for a number other than 0.
    void showCheck();
    // The view column showing column id `id`; -1 when it is hidden.
    int viewColumn(int id) const;
    // The page hands its statements in again.
    virtual void handIn() = 0;

    DBRow* m_row;
    Cols* m_cols;
};
