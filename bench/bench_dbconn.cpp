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
// The waits poll: 15 ms of sleep, then events. That sleep, not the worker, sets the
// pace of a request waited for on its own.
//
// Usage: bench_dbconn [round trips] [burst size]

#include "dbconn.h"
#include "dbreq.h"
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

class DirectSession
{
public:
    explicit DirectSession(quint16 port)
    {
        int syserr = 0, version = 0, n1 = 0, n2 = 0, n3 = 0;
        const QByteArray portText = QByteArray::number(port);
        unsigned authResult = 0;
        if (vexadb_open(&m_handle, "127.0.0.1", portText.constData(), "Ornel Admin 5.0 (Linux)", 0,
                        &syserr, &version, &n1, &n2, &n3)
                != VEXADB_OK
            || vexadb_authenticate(m_handle, "admin", "admin", &authResult) != VEXADB_OK) {
            qFatal("the direct session did not open");
        }
    }
    ~DirectSession() { vexadb_close(m_handle); }

    void query(const QByteArray &statement)
    {
        vexadb_result result{};
        if (vexadb_send_query(m_handle, statement.constData(), &result) != VEXADB_OK)
            qFatal("a direct statement failed: %s", statement.constData());
        vexadb_free_result(&result);
    }

private:
    vexadb_handle m_handle = nullptr;
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

    const Timing waited = timeWaitedRoundTrips(conn, roundTrips);
    const Timing raw = timeDirectRoundTrips(direct, roundTrips * 10);
    std::printf("round trip of \"%s\"\n", SmallStatement);
    std::printf("  DBReq::wait on the GUI thread  %8.3f ms  (%d round trips)\n", waited.perItemMs(),
                waited.count);
    std::printf("  vexadb_send_query directly     %8.3f ms  (%d round trips)\n", raw.perItemMs(),
                raw.count);
    std::printf("  ratio                          %8.1f x\n", waited.perItemMs() / raw.perItemMs());

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
