#pragma once

#include "dbtable.h"
#include "listpage.h"
#include "twndsched.h"

class DBConn;
class DBCtrl;
class Desktop;
class DlgSched;

// The "Scheduling" page: when the server sends its queue, downloads from POP3 mailboxes
// and sends ETRN requests. Entries are added, edited in the scheduled action dialog and
// removed in the list, and switched on and off by their check boxes; the changes wait in
// the main window's pending list for Apply. The time ranges are loaded only as the
// dialog's choices: Apply and Reset leave them alone.
class WndSched : public TWndSched, public ListPage
{
    Q_OBJECT

public:
    WndSched(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
             const char* name = nullptr, Qt::WindowFlags fl = {});
    ~WndSched() override;

    // Fills the dialog from the row, as Edit opens it.
    static void fillDialog(DlgSched* dialog, const DBRow* row);
    // Writes an accepted dialog into the row; "enabled" stays, the check box sets it.
    static void readDialog(const DlgSched* dialog, DBRow* row);

    DBTable m_table; // "scheduler"
    DBTable m_times; // "timeintervals", the dialog's range choices

public slots:
    void slotAdd() override;
    void slotCols() override;
    void slotEdit() override;
    void slotRemove() override;
    void slotSelectionChanged() override;

protected:
    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    QTreeWidgetItem* newItem(int list, DBRow* row) override;
    void showItem(int list, QTreeWidgetItem* item) override;
    bool runEditDialog(int list, DBRow* row) override;

private:
    DBConn* m_conn;
    DBCtrl* m_ctrl;
};
