// Apply of many one-row updates against the stand-in server: statements per second, and
// whether the cost per statement stays the same as the list grows (one request on its
// way at a time, so the total should grow linearly with the count); then the rate of an
// Apply of 1,000 against the raw loop, the same statements sent with vexadb_send_query
// on the benchmark's own thread, alternately in the same run, medians compared.
//
// Run by hand: bench_apply [rounds]. Prints one line per list size, the ratio of the
// per-statement costs and the rate against the raw loop beside its goal.

#include "dbconn.h"
#include "dbctrl.h"
#include "dbreq.h"
#include "dialogrecorder.h"
#include "directsession.h"
#include "pendingapply.h"
#include "standinconnection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

using namespace StandIn;

namespace {

constexpr int Rows = 1000;

QString rowName(int i)
{
    return QStringLiteral("r%1").arg(i, 4, 10, QLatin1Char('0'));
}

void fillTable(TestServer& server)
{
    QList<QStringList> rows;
    for (int i = 0; i < Rows; ++i)
        rows.append({rowName(i), QStringLiteral("start")});
    server.setTable("notes", {{"name", TypeString, true}, {"text", TypeString, false}}, rows);
}

QStringList updates(int count, int round)
{
    QStringList statements;
    for (int i = 0; i < count; ++i) {
        statements.append(QStringLiteral("update notes set text='round %1' where name='%2'")
                              .arg(round)
                              .arg(rowName(i % Rows)));
    }
    return statements;
}

// One apply of count statements, in nanoseconds; -1 when it failed.
qint64 timedApply(QWidget& window, DBConn* conn, DBCtrl& ctrl, int count, int round)
{
    ctrl.m_pending = updates(count, round);
    QElapsedTimer clock;
    clock.start();
    const ApplyOutcome outcome = applyPendingStatements(&window, conn, &ctrl);
    const qint64 elapsed = clock.nsecsElapsed();
    return outcome == ApplyOutcome::Applied ? elapsed : -1;
}

// The same statements sent one after the other with the protocol client alone.
qint64 timedRawLoop(DirectSession& session, int count, int round)
{
    QList<QByteArray> statements;
    for (const QString& statement : updates(count, round))
        statements.append(statement.toUtf8());
    QElapsedTimer clock;
    clock.start();
    for (const QByteArray& statement : std::as_const(statements))
        session.query(statement);
    return clock.nsecsElapsed();
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    std::unique_ptr<TestServer> server = startStandIn();
    fillTable(*server);
    ScopedConnection conn(server->port());
    if (!conn.connect()) {
        std::fprintf(stderr, "bench_apply: no connection to the stand-in server\n");
        return 1;
    }
    QWidget window;
    DialogRecorder dialogs; // a failure must not wait for a click
    DirectSession direct(server->port());
    DBCtrl ctrl;

    const int counts[2] = {100, 1000};
    QList<qint64> times[2];
    QList<qint64> rawTimes;
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < 2; ++i) {
            times[i].append(timedApply(window, conn.get(), ctrl, counts[i], round));
            if (times[i].constLast() < 0) {
                std::fprintf(stderr, "bench_apply: an apply of %d statements failed\n", counts[i]);
                return 1;
            }
        }
        rawTimes.append(timedRawLoop(direct, counts[1], round));
    }

    std::printf("apply of one-row updates, median of %d rounds\n", rounds);
    std::printf("%8s %12s %14s %16s\n", "count", "total ms", "us/statement", "statements/s");
    double perStatement[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const qint64 ns = median(times[i]);
        perStatement[i] = double(ns) / counts[i];
        std::printf("%8d %12.1f %14.1f %16.0f\n", counts[i], ns / 1e6, perStatement[i] / 1e3,
                    1e9 / perStatement[i]);
    }
    std::printf("cost per statement, 1000 against 100: %.2f (1.00 is linear growth)\n",
                perStatement[1] / perStatement[0]);
    const double rawPerStatement = double(median(rawTimes)) / counts[1];
    std::printf("raw loop (vexadb_send_query), 1000 statements: %.1f us/statement, %.0f statements/s\n",
                rawPerStatement / 1e3, 1e9 / rawPerStatement);
    std::printf("Apply of 1000 against the raw loop: %.2f x the statements/s (goal >= 0.6)\n",
                rawPerStatement / perStatement[1]);
    return 0;
}
