#pragma once

#include "dblog.h"
#include "dbtable.h"
#include "tdlglogexpr.h"

#include <QPointer>

class DBConn;

// "Log expression": shows the server's "LogExpr" of the table "Debug" and writes the
// edited text back, escaped, with one "update Debug set LogExpr = ..." statement. OK closes
// the dialog whether the server took it or not; a failure is told as every window's own
// request tells it (ownrequest.h).
class DlgLogExpr : public TDlgLogExpr
{
    Q_OBJECT

public:
    // conn is not owned; log is copied. Loads the value before it returns.
    DlgLogExpr(DBConn* conn, const DBLOG* log, QWidget* parent, const char* name, bool modal,
               Qt::WindowFlags flags);
    ~DlgLogExpr() override;

    static QString updateStatement(const QString& expression);

public slots:
    void slotOk() override;
    void slotCancel() override;

private:
    QPointer<DBConn> m_conn;
    DBLOG m_log;
    DBTable m_table;
};
