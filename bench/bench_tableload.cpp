// Loading a user table of 100,000 rows through DBTable::select, against the raw
// protocol client: vexadb_send_query, which reads the same answer and parses it in
// place. Reports the median time of a few loads of each and their ratio, and the
// peak memory each adds to its process.
//
// The stand-in server runs in this process; every measured client runs in a child
// process of its own (this program again, with --child), so that its peak resident
// size (VmHWM, reset once the session is up) holds its own allocations only.
//
// Usage: bench_tableload [rows] [loads]

#include "benchgoal.h"
#include "dbconn.h"
#include "dbtable.h"
#include "processmemory.h"
#include "testserver.h"
#include "vexadb.h"
#include "vexadbtypes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QTest>


#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The columns of the users page.
const DBCOL dbcol_user[] = {
    {VEXADB_STRING, "name", 1},        {VEXADB_STRING, "domain", 1},
    {VEXADB_INT, "account_enabled", 0}, {VEXADB_INT, "auth_type", 0},
    {VEXADB_INT, "rights", 0},         {VEXADB_PWD, "password", 0},
    {VEXADB_IDLIST, "groups", 0},      {VEXADB_INT64, "qstorage", 0},
    {VEXADB_INT, "qmessage", 0},       {VEXADB_STRING, "fullname", 0},
    {VEXADB_STRING, "description", 0}, {VEXADB_STRING, "sentfolder", 0},
    {VEXADB_STRING, "draftfolder", 0}, {VEXADB_INT, "hidefldlist", 0},
    {VEXADB_INT, "showsub", 0},        {VEXADB_INT, "msgperpage", 0},
    {VEXADB_STRING, "preflang", 0},    {VEXADB_PWD, "pin", 0},
    {0, nullptr, 0},
};

QList<StandIn::Column> serverColumns()
{
    QList<StandIn::Column> columns;
    for (const DBCOL *c = dbcol_user; c->name; ++c)
        columns.append({QString::fromLatin1(c->name), c->type, c->key != 0});
    return columns;
}

QList<QStringList> userRows(int count)
{
    QList<QStringList> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        rows.append({QStringLiteral("user%1").arg(i), QStringLiteral("lakeside.example"),
                     QStringLiteral("1"), QStringLiteral("0"), QString::number(i % 4),
                     QStringLiteral("secret"), QStringLiteral("staff,sales"),
                     QString::number(qint64(i) << 20), QStringLiteral("0"),
                     QStringLiteral("User Number %1").arg(i),
                     QStringLiteral("Account %1 of the load benchmark").arg(i),
                     QStringLiteral("Sent"), QStringLiteral("Drafts"), QStringLiteral("0"),
                     QStringLiteral("0"), QStringLiteral("20"), QStringLiteral("en"), QString()});
    }
    return rows;
}

QByteArray selectStatement()
{
    QByteArray statement("select ");
    for (const DBCOL *c = dbcol_user; c->name; ++c) {
        if (c != dbcol_user)
            statement += ", ";
        statement += c->name;
    }
    return statement + " from user";
}

// The resident size now, which becomes the peak the growth is measured from. The peak must be
// reset: a child starts as a copy of its parent, and exec keeps that copy's resident size as
// the child's first peak (getrusage's ru_maxrss), which here is the stand-in server's.
long startPeakHere()
{
    resetPeak();
    return long(statusKiB("VmRSS"));
}

long peakKilobytes()
{
    return long(statusKiB("VmHWM"));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One measured client: prints "<median ms> <peak growth kB> <rows>".
int runChild(const QByteArray &mode, const QByteArray &port, int loads)
{
    std::vector<double> times;
    long rows = 0;
    long baseline = 0;
    if (mode == "select") {
        QPointer<DBConn> conn = new DBConn("127.0.0.1", port.constData(), "admin", "admin", 0);
        if (!conn->connwait(false, nullptr) || conn->m_state != DBConn::Connected)
            qFatal("the connection did not come up");
        baseline = startPeakHere();
        for (int i = 0; i < loads; ++i) {
            DBTable table;
            QElapsedTimer clock;
            clock.start();
            if (!table.select(nullptr, conn, "user", dbcol_user, 0))
                qFatal("the load failed");
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
            rows = long(table.m_rows.size());
        }
        conn->stop();
        if (!QTest::qWaitFor([&] { return conn.isNull(); }, 10000))
            std::fprintf(stderr, "the connection did not end\n");
    } else {
        vexadb_handle handle = nullptr;
        int syserr = 0, version = 0, n1 = 0, n2 = 0, n3 = 0;
        unsigned authResult = 0;
        if (vexadb_open(&handle, "127.0.0.1", port.constData(), "Ornel Admin 5.0 (Linux)", 0,
                        &syserr, &version, &n1, &n2, &n3)
                != VEXADB_OK
            || vexadb_authenticate(handle, "admin", "admin", &authResult) != VEXADB_OK) {
            qFatal("the direct session did not open");
        }
        baseline = startPeakHere();
        const QByteArray statement = selectStatement();
        for (int i = 0; i < loads; ++i) {
            vexadb_result result{};
            QElapsedTimer clock;
            clock.start();
            if (vexadb_send_query(handle, statement.constData(), &result) != VEXADB_OK)
                qFatal("the raw query failed");
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
            rows = long(result.nrows);
            vexadb_free_result(&result);
        }
        vexadb_close(handle);
    }
    std::printf("%.3f %ld %ld\n", median(times), peakKilobytes() - baseline, rows);
    return 0;
}

struct Measurement
{
    double ms = 0;
    long peakKb = 0;
    long rows = 0;
};

Measurement measure(const QString &mode, quint16 port, int loads)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), mode, QString::number(port), QString::number(loads)});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        qFatal("the %s client failed", qPrintable(mode));
    Measurement m;
    if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %ld %ld", &m.ms, &m.peakKb,
                    &m.rows)
        != 3) {
        qFatal("the %s client printed no result", qPrintable(mode));
    }
    return m;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The raw client needs no toolkit at all.
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0 && std::strcmp(argv[2], "raw") == 0)
        return runChild(argv[2], argv[3], std::max(1, atoi(argv[4])));
    QApplication app(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argv[2], argv[3], std::max(1, atoi(argv[4])));

    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int loads = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    StandIn::ServerOptions options;
    options.port = 0;
    StandIn::TestServer server(options);
    server.setTable("user", serverColumns(), userRows(rows));
    QString error;
    if (!server.start(&error))
        qFatal("the stand-in server did not start: %s", qPrintable(error));

    const Measurement raw = measure(QStringLiteral("raw"), server.port(), loads);
    const Measurement select = measure(QStringLiteral("select"), server.port(), loads);
    if (raw.rows != rows || select.rows != rows)
        qFatal("a client read %ld / %ld rows instead of %d", raw.rows, select.rows, rows);

    std::printf("loading a user table of %d rows (%zu columns), median of %d loads\n", rows,
                std::size(dbcol_user) - 1, loads);
    std::printf("  vexadb_send_query (raw parse)   %9.1f ms   peak +%7.1f MB\n", raw.ms,
                raw.peakKb / 1024.0);
    std::printf("  DBTable::select                 %9.1f ms   peak +%7.1f MB\n", select.ms,
                select.peakKb / 1024.0);
    std::printf("  ratio                           %9.2f x    %12.2f x\n", select.ms / raw.ms,
                double(select.peakKb) / double(std::max(1L, raw.peakKb)));
    printGoal("DBTable::select / raw parse, time", select.ms / raw.ms, "x", "<=", 1.3);
    printGoal("DBTable::select / raw parse, peak memory",
              double(select.peakKb) / double(std::max(1L, raw.peakKb)), "x", "<=", 1.4);
    return 0;
}
