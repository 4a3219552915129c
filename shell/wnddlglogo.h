#pragma once

#include "dbtable.h"
#include "tdlglogo.h"

class DBConn;
class DBCtrl;
class Desktop;

// The product page: the banner, and framed in it four facts about the server read once
// from its info table while the page is built. It edits nothing. Without a connection
// it shows the banner alone.
class WndDlgLogo : public TDlgLogo
{
    Q_OBJECT

public:
    // parent also parents the progress window and the failure boxes of the load. The
    // controller and the workspace are accepted for the page switch's sake and not
    // used.
    WndDlgLogo(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
               const char* name = nullptr, Qt::WindowFlags f = {});
    ~WndDlgLogo() override;

    // Fills the list anew from the first row of the loaded table: product and version,
    // operating system, homepage and the server's notice, top to bottom. Without a row
    // the labels stand with empty values.
    void updateData();

private:
    QWidget* m_parent;
    DBConn* m_conn;
    DBTable m_info;
};
