#include "dlglogexpr.h"

#include "dbconn.h"
#include "dbreq.h"
#include "dbrow.h"
#include "dbval.h"
#include "escape.h"
#include "ownrequest.h"
#include "vexadbtypes.h"

#include <QLineEdit>

namespace {

const DBCOL dbcol_logexpr[] = {
    {VEXADB_STRING, "LogExpr", 0},
    {0, nullptr, 0},
};

} // namespace

DlgLogExpr::DlgLogExpr(DBConn* conn, const DBLOG* log, QWidget* parent, const char* name,
                       bool modal, Qt::WindowFlags flags)
    : TDlgLogExpr(parent, name, modal, flags)
    , m_conn(conn)
    , m_log(*log)
{
    if (conn && m_table.select(parentWidget(), conn, "Debug", dbcol_logexpr,
                               DBTable::ReportRefusal)
        && !m_table.m_rows.empty())
        m_edtLog->setText(m_table.m_rows.front()->m_values.front()->text());
}

DlgLogExpr::~DlgLogExpr() = default;

QString DlgLogExpr::updateStatement(const QString& expression)
{
    return QLatin1String("update Debug set LogExpr = \"") + escape(expression) + QLatin1Char('"');
}

void DlgLogExpr::slotOk()
{
    // Closed as on success whatever the outcome, unless the dialog went meanwhile.
    DBReq request(updateStatement(m_edtLog->text()), true);
    if (sendOwnRequest(m_conn, request, this) != OwnRequest::OwnerGone)
        accept();
}

void DlgLogExpr::slotCancel()
{
    m_table.reset();
    reject();
}
