#pragma once

#include "keyeditem.h"
#include "untouchedflag.h"

class Cols;
class DBRow;
class ListPage;
class QTreeWidget;

// A rule of the Antispam or Antivirus page's list, whose check box is the rule's
// "enabled": on for a number other than 0. Showing the rule writes nothing into its row, so
// a rule nobody touched sends nothing, whatever its "enabled" holds (empty, 2, a word the
// server keeps in the column). The administrator's toggle writes "1" or "0", a box that
// shows what the server's text shows writes that text back (UntouchedFlag, judged against
// the page's stored row, so also after the list was rebuilt), and each toggle has the page
// hand its statements in again. The row, the column model and the page are not owned; all
// outlive the item.
class RuleItem : public KeyedItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 0x700 };

    DBRow* row() const { return m_row; }
    void setRow(DBRow* row) { m_row = row; }

    // The administrator's toggle: the check box and the row's "enabled", then the hand-in.
    void setOn(bool on);
    bool isOn() const;

    // A click on the check box arrives here.
    void setData(int column, int role, const QVariant& value) override;

protected:
    // An unchecked item of `list`; with a null list the page adds the items itself, all at
    // once. `page` holds the rule's table; without one the rule counts as one the server
    // does not hold, whose box writes what it shows.
    RuleItem(QTreeWidget* list, DBRow* row, Cols* cols, const ListPage* page);

    // The check box from the row: on for a number other than 0. Writes nothing.
    void showCheck();
    // The view column showing column id `id`; -1 when it is hidden.
    int viewColumn(int id) const;
    // The page hands its statements in again.
    virtual void handIn() = 0;

    DBRow* m_row;
    Cols* m_cols;

private:
    void showOn(bool on);
    static bool showsOn(const QString& enabled);
    // "enabled" as the server holds it, and how the box shows that.
    UntouchedFlag storedEnabled() const;

    const ListPage* m_page;
};
