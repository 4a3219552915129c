#pragma once

#include "shownlistpage.h"
#include "twndalias.h"

// The aliases page: every alias of the server, as the address it answers to and the
// address it leads to. It lists them only.
class WndAlias : public TWndAlias, public ShownListPage
{
    Q_OBJECT

public:
    WndAlias(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name,
             Qt::WindowFlags f);
    ~WndAlias() override;

public slots:
    void slotCols() override;

protected:
    QStringList textsById(const DBRow* row) const override;
};
