// Apply of many one-row updates against the stand-in server: statements per second, and
// whether the cost per statement stays the same as the list grows (one request on its
// way at a time, so the total should grow linearly with the count).
//
// Run by hand: bench_apply [rounds]. Prints one line per list size and the ratio of the
// per-statement costs.

#include "dbconn.h"
#include "dbctrl.h"
#include "dbreq.h"
#include "dialogrecorder.h"
#include "pendingapply.h"
#include "standinconnection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
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

// The best of rounds applies of count statements, in nanoseconds; -1 when one failed.
qint64 bestApply(QWidget& window, DBConn* conn, int count, int rounds)
{
    DBCtrl ctrl;
    qint64 best = -1;
    for (int round = 0; round < rounds; ++round) {
        ctrl.m_pending = updates(count, round);
        QElapsedTimer clock;
        clock.start();
        const ApplyOutcome outcome = applyPendingStatements(&window, conn, &ctrl);
        const qint64 elapsed = clock.nsecsElapsed();
        if (outcome != ApplyOutcome::Applied)
            return -1;
        best = best < 0 ? elapsed : std::min(best, elapsed);
    }
    return best;
}

// The same statements sent one at a time but awaited by spinning on the request rather
// than by the wait's sleep-and-process cycle: what the server and the link cost alone.
qint64 spinningRoundTrips(DBConn* conn, int count)
{
    const QStringList statements = updates(count, 99);
    QElapsedTimer clock;
    clock.start();
    for (const QString& statement : statements) {
        DBReq request(statement, false);
        conn->insert(&request);
        while (!request.m_finished.load(std::memory_order_acquire))
            QThread::yieldCurrentThread();
        if (request.m_status != 0)
            return -1;
    }
    return clock.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    std::unique_ptr<TestServer> server = startStandIn();
    fillTable(*server);
    ScopedConnection conn(server->port());
    if (!conn.connect()) {
        std::fprintf(stderr, "bench_apply: no connection to the stand-in server\n");
        return 1;
    }
    QWidget window;
    DialogRecorder dialogs; // a failure must not wait for a click

    std::printf("apply of one-row updates, best of %d rounds\n", rounds);
    std::printf("%8s %12s %14s %16s\n", "count", "total ms", "us/statement", "statements/s");
    double perStatement[2] = {0, 0};
    const int counts[2] = {100, 1000};
    for (int i = 0; i < 2; ++i) {
        const qint64 ns = bestApply(window, conn.get(), counts[i], rounds);
        if (ns < 0) {
            std::fprintf(stderr, "bench_apply: an apply of %d statements failed\n", counts[i]);
            return 1;
        }
        perStatement[i] = double(ns) / counts[i];
        std::printf("%8d %12.1f %14.1f %16.0f\n", counts[i], ns / 1e6, perStatement[i] / 1e3,
                    1e9 / perStatement[i]);
    }
    std::printf("cost per statement, 1000 against 100: %.2f (1.00 is linear growth)\n",
                perStatement[1] / perStatement[0]);
    const qint64 spin = spinningRoundTrips(conn.get(), 1000);
    if (spin > 0) {
        std::printf("for comparison, 1000 round trips awaited by spinning: %.1f us/statement; "
                    "the difference is the wait's event processing\n",
                    spin / 1e3 / 1000);
    }
    return 0;
}
