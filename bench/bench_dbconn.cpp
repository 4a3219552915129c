// What the connection costs on top of the protocol client, against the stand-in
// server on the loopback interface:
//
// - round trip of one small statement waited for with DBReq::wait on the GUI thread,
//   against vexadb_send_query called directly in a loop;
// - an Apply-like burst of 1,000 update statements: one request at a time, each
//   waited for (as the main window sends its pending list), and all queued at once
//   with a wait for the last (the worker serves them back to back), against the
//   direct loop.
//
// Each ratio is printed beside its goal. The machine may be loaded: run it a few times
// and read the medians.
//
// Usage: bench_dbconn [round trips] [burst size]

#include "dbconn.h"
#include "dbreq.h"
#include "directsession.h"
#include "testserver.h"
#include "vexadb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const char *const SmallStatement = "select Version from info";
constexpr int Rounds = 9;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

QString updateStatement(int i)
{
    return QStringLiteral("update hosts set note='n%1' where name='h%2'").arg(i).arg(i % 100);
}

struct Timing
{
    double totalMs;
    int count;
    double perItemMs() const { return totalMs / count; }
    double perSecond() const { return count * 1000.0 / totalMs; }
};

void expectSuccess(const DBReq &request)
{
    if (request.m_status != 0)
        qFatal("a statement failed through the connection: status %d", request.m_status);
}

Timing timeWaitedRoundTrips(DBConn *conn, int count)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        DBReq request(QString::fromLatin1(SmallStatement), false);
        conn->insert(&request);
        request.wait(false, nullptr);
        expectSuccess(request);
    }
    return {double(clock.nsecsElapsed()) / 1e6, count};
}

Timing timeDirectRoundTrips(DirectSession &session, int count)
{
    const QByteArray statement(SmallStatement);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i)
        session.query(statement);
    return {double(clock.nsecsElapsed()) / 1e6, count};
}

Timing timeBurstOneByOne(DBConn *conn, int count)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        DBReq request(updateStatement(i), false);
        conn->insert(&request);
        request.wait(false, nullptr);
        expectSuccess(request);
    }
    return {double(clock.nsecsElapsed()) / 1e6, count};
}

Timing timeBurstQueued(DBConn *conn, int count)
{
    std::vector<std::unique_ptr<DBReq>> requests;
    requests.reserve(count);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        requests.push_back(std::make_unique<DBReq>(updateStatement(i), false));
        conn->insert(requests.back().get());
    }
    requests.back()->wait(false, nullptr);
    const Timing timing{double(clock.nsecsElapsed()) / 1e6, count};
    for (const auto &request : requests)
        expectSuccess(*request);
    return timing;
}

Timing timeBurstDirect(DirectSession &session, int count)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i)
        session.query(updateStatement(i).toUtf8());
    return {double(clock.nsecsElapsed()) / 1e6, count};
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int roundTrips = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const int burst = argc > 2 ? std::max(1, atoi(argv[2])) : 1000;

    StandIn::ServerOptions options;
    options.port = 0;
    StandIn::TestServer server(options);
    QList<QStringList> hosts;
    for (int i = 0; i < 100; ++i)
        hosts.append({QStringLiteral("h%1").arg(i), QString()});
    server.setTable("hosts", {{"name", StandIn::TypeString, true}, {"note", StandIn::TypeString, false}},
                    hosts);
    QString error;
    if (!server.start(&error))
        qFatal("the stand-in server did not start: %s", qPrintable(error));

    QPointer<DBConn> conn = new DBConn("127.0.0.1", QByteArray::number(server.port()).constData(),
                                       "admin", "admin", 0);
    if (!conn->connwait(false, nullptr) || conn->m_state != DBConn::Connected)
        qFatal("the connection did not come up");
    DirectSession direct(server.port());

    // Warm both paths up once.
    timeDirectRoundTrips(direct, 20);
    timeWaitedRoundTrips(conn, 3);

    // Alternately, so that both meet the same load; the medians are compared.
    QList<double> waitedMs;
    QList<double> rawMs;
    for (int round = 0; round < Rounds; ++round) {
        waitedMs.append(timeWaitedRoundTrips(conn, roundTrips).perItemMs());
        rawMs.append(timeDirectRoundTrips(direct, roundTrips).perItemMs());
    }
    const double waited = median(waitedMs);
    const double raw = median(rawMs);
    std::printf("round trip of \"%s\", median of %d rounds of %d\n", SmallStatement, Rounds, roundTrips);
    std::printf("  DBReq::wait on the GUI thread  %8.3f ms\n", waited);
    std::printf("  vexadb_send_query directly     %8.3f ms\n", raw);
    std::printf("  ratio                          %8.2f x  (goal <= 1.3)\n", waited / raw);

    const Timing oneByOne = timeBurstOneByOne(conn, burst);
    const Timing queued = timeBurstQueued(conn, burst);
    const Timing burstRaw = timeBurstDirect(direct, burst);
    std::printf("burst of %d update statements\n", burst);
    std::printf("  one request at a time, waited  %10.0f statements/s  (ratio %.1f x)\n",
                oneByOne.perSecond(), burstRaw.perSecond() / oneByOne.perSecond());
    std::printf("  all queued, last one waited    %10.0f statements/s  (ratio %.1f x)\n",
                queued.perSecond(), burstRaw.perSecond() / queued.perSecond());
    std::printf("  vexadb_send_query directly     %10.0f statements/s\n", burstRaw.perSecond());

    conn->stop();
    if (!QTest::qWaitFor([&] { return conn.isNull(); }, 10000))
        std::fprintf(stderr, "the connection did not end\n");
    return 0;
}
