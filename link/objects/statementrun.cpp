#include "statementrun.h"

#include "dbconn.h"
#include "dbreq.h"
#include "progresswait.h"

#include <QPointer>

#include <utility>

StatementRun::StatementRun(DBConn *conn, const ProgressWait &indicator, std::function<bool()> goOn)
    : m_conn(conn)
    , m_indicator(indicator)
    , m_goOn(std::move(goOn))
{
}

void StatementRun::send(const QStringList &statements)
{
    for (const QString &statement : statements) {
        if (!sendOne(statement))
            return;
        ++m_carriedOut;
    }
}

bool StatementRun::sendOne(const QString &statement)
{
    // Abort chosen between two statements: the next one is not even queued.
    if (m_indicator.aborted()) {
        m_status = Aborted;
        return false;
    }
    const QPointer<DBConn> conn(m_conn);
    DBReq request(statement, false);
    m_conn->insert(&request);
    request.waitUnder(m_indicator);
    if (!conn || !m_goOn()) {
        m_abandoned = true;
        return false;
    }
    m_status = request.m_status;
    m_error = request.errorText();
    return m_status == 0;
}
