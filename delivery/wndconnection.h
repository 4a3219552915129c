#pragma once

#include "dbtable.h"
#include "listpage.h"
#include "twndconnection.h"

class DBConn;
class DBCtrl;
class Desktop;

// The "Connections" page: the connections the server has open, as it reports them when
// asked. Read only; "&Refresh" asks again.
class WndConnection : public TWndConnection, public ListPage
{
    Q_OBJECT

public:
    WndConnection(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                  const char* name = nullptr, Qt::WindowFlags fl = {});
    ~WndConnection() override;

    DBTable m_table; // the last answer of "show_connections()"

public slots:
    void slotCols() override;
    void slotRefresh() override;

protected:
    void fillItems(int list) override;
    bool rebuildList(int list) override;
};
