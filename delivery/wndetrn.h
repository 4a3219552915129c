#pragma once

#include "dbtable.h"
#include "listpage.h"
#include "twndetrn.h"

class DBConn;
class DBCtrl;
class Desktop;

// The "ETRN Download" page: the servers the mail server sends an ETRN request to, each
// for one or more domains, optionally after authenticating. Entries are added, edited in
// the ETRN dialog and removed in the list; the changes wait in the main window's pending
// list for Apply.
class WndEtrn : public TWndEtrn, public ListPage
{
    Q_OBJECT

public:
    WndEtrn(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
            const char* name = nullptr, Qt::WindowFlags fl = {});
    ~WndEtrn() override;

    DBTable m_table; // "odmr"

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
};
