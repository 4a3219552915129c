// Loading tables and sending their statements: everything of the table layer that
// talks to the server through a connection (DBConn) and its requests (DBReq).

#include "dbtable.h"
#include "dbtable_p.h"
#include "diffmemo_p.h"

#include "carriedout.h"
#include "dbconn.h"
#include "dbreq.h"
#include "requestfailure.h"
#include "progresswait.h"
#include "repeatedtexts_p.h"
#include "statementrun.h"
#include "statements.h"

#include <QCoreApplication>

#include <optional>
#include <vector>

namespace {

CellReader cellsOf(DBReq &request)
{
    return [&request](int row, int column, void *buffer, int *length) {
        return request.read(row, column, buffer, length);
    };
}

QString nameOf(const DBCOL &column)
{
    return QString::fromLatin1(column.name);
}

// The names the answer gives its columns, as far as it describes them.
QStringList answeredNames(DBReq &request)
{
    QStringList names;
    for (int c = 0; c < request.columnCount(); ++c) {
        char name[256];
        if (request.get_desc(c, name, int(sizeof name), nullptr, nullptr, nullptr))
            names.append(QString::fromUtf8(name));
    }
    return names;
}

// The declared columns an answer with fewer columns than declared does not carry: by name
// where its own names tell which (letter case ignored), else those past its count (a
// function's answer may name its columns otherwise). None when no column is short.
QStringList columnsNotAnswered(DBReq &request, const DBCOL *cols)
{
    const int declared = dbcolCount(cols);
    const int answered = request.columnCount();
    if (answered >= declared)
        return {};
    const QStringList names = answeredNames(request);
    QStringList missing;
    for (int c = 0; c < declared; ++c) {
        if (!names.contains(nameOf(cols[c]), Qt::CaseInsensitive))
            missing.append(nameOf(cols[c]));
    }
    if (missing.size() == declared - answered)
        return missing;
    missing.clear();
    for (int c = answered; c < declared; ++c)
        missing.append(nameOf(cols[c]));
    return missing;
}

// The type each declared column has in the answer, as the answer describes it: the column's
// own where the answer does not say.
std::vector<int> answeredTypes(DBReq &request, const DBCOL *cols)
{
    std::vector<int> types(size_t(dbcolCount(cols)));
    for (size_t c = 0; c < types.size(); ++c) {
        int type = cols[c].type;
        if (!request.get_desc(int(c), nullptr, 0, &type, nullptr, nullptr))
            type = cols[c].type;
        types[c] = type;
    }
    return types;
}

void reportShortAnswer(DBConn *conn, const QString &name, const QStringList &missing, int flags)
{
    if (flags & DBTable::ReportRefusal) {
        reportRefusedStatement(
            conn->m_owner,
            QCoreApplication::translate("DBTable", "The server's answer lacks these columns of %1: %2")
                .arg(name, missing.join(QLatin1String(", "))));
    }
}

} // namespace

void reportRequestFailure(DBConn *conn, const DBReq *request, int flags)
{
    if (request)
        reportFailedStatus(conn, request->m_status, request->errorText(), flags);
}

void reportFailedStatus(DBConn *conn, int status, const QString &error, int flags)
{
    if (!conn || status == 0)
        return;
    if (status == 1) {
        reportLostConnection(conn->m_owner, conn->m_lost, conn->m_ctrl, conn->m_host);
        return;
    }
    // Refused by the server, or abandoned at the wait indicator.
    if (flags & ReportRefusedStatement)
        reportRefusedStatement(conn->m_owner, error);
}

bool DBTable::select(QWidget *parent, DBConn *conn, const char *table, const DBCOL *cols,
                     int flags, const char *where, const char *fields)
{
    const QString name = QString::fromUtf8(table);
    return load(parent, conn, name, cols, flags, make_select(cols, name, where, fields));
}

bool DBTable::function(QWidget *parent, DBConn *conn, const char *call, const DBCOL *cols,
                       int flags)
{
    const QString name = QString::fromUtf8(call);
    return load(parent, conn, name, cols, flags, make_call(name));
}

bool DBTable::load(QWidget *parent, DBConn *conn, const QString &name, const DBCOL *cols,
                   int flags, const QString &statement)
{
    m_parent = parent;
    m_conn = conn;
    m_cols = cols;
    m_table = name;
    m_flags = flags;
    m_memo->forget();
    m_rows.clear();
    m_orig.clear();
    // A copy handed out earlier (to DBCtrl::set, say) keeps its statements.
    m_statements.clear();
    if (!conn)
        return false;

    // With its column descriptions, which name the columns a short answer lacks.
    DBReq request(statement, true);
    conn->insert(&request);
    const std::shared_ptr<bool> alive = m_alive;
    if (flags & WaitWithProgress)
        request.wait(true, parent);
    else
        request.wait(false, nullptr);
    // Timers and queued calls run during the wait, and one of them may have
    // destroyed the table meanwhile.
    if (!*alive)
        return false;

    if (request.m_status != 0) {
        reportRequestFailure(conn, &request, flags);
        return false;
    }

    // A cell the answer does not carry would stay a null value, which the page shows as
    // empty or 0 and writes back, or which names a row in a key: such an answer is refused.
    const QStringList missing = columnsNotAnswered(request, m_cols);
    if (!missing.isEmpty()) {
        reportShortAnswer(conn, m_table, missing, flags);
        return false;
    }
    const CellReader read = cellsOf(request);
    const int rowCount = request.rowCount();
    const bool withOriginals = !(flags & WithoutOriginals);
    m_rows.reserve(rowCount);
    if (withOriginals)
        m_orig.reserve(rowCount);
    // Cell c of every answer row is column c of the column table: without a fields
    // text the statement names the columns in that very order.
    // A server may keep a column in another type than the page declares: each cell is
    // read as the answer says it is, never by the declared type's size alone.
    const std::vector<int> types = answeredTypes(request, m_cols);
    RepeatedTexts repeated;
    for (int r = 0; r < rowCount; ++r) {
        auto row = std::make_unique<DBRow>(m_cols);
        const int notCarried = readAnswerRow(row.get(), r, read, &repeated, types.data());
        if (notCarried >= 0) {
            m_rows.clear();
            m_orig.clear();
            reportShortAnswer(conn, m_table, {nameOf(m_cols[notCarried])}, flags);
            return false;
        }
        if (withOriginals)
            m_orig.push_back(std::make_unique<DBRow>(*row));
        m_rows.push_back(std::move(row));
    }
    m_loaded = true;
    return true;
}

bool DBTable::sendStatements()
{
    DBConn *conn = m_conn;
    if (!conn)
        return false;
    const std::shared_ptr<bool> alive = m_alive;
    const QStringList statements = m_statements;

    std::optional<ProgressWait> indicator;
    indicator.emplace(m_parent, QCoreApplication::translate("DBTable", "Transfering data ..."));
    StatementRun run(conn, *indicator, [alive] { return *alive; });
    run.send(statements);
    if (run.abandoned())
        return false;
    if (run.status() == 0) {
        commitAll();
        return true;
    }
    // Stored before the box, whose event loop may let anything happen.
    CarriedOut done(statements.mid(0, run.carriedOut()));
    storeCarriedOut(done);
    // The indicator goes before the box, which must not sit behind it.
    indicator.reset();
    reportFailedStatus(conn, run.status(), run.errorText(), ReportRefusal);
    return false;
}
