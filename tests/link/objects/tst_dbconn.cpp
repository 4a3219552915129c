#include "dbconn.h"
#include "dbreq.h"
#include "standinconnection.h"
#include "vexasupport_p.h"
#include "wndprogress.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

using namespace StandIn;

namespace {

// A loopback TCP socket bound to a free port: listening, it completes connections but
// never answers; not listening, it refuses them and keeps the port from being taken.
int boundSocket(bool listening, quint16 *port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    if (listening)
        listen(fd, 4);
    getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    *port = ntohs(address.sin_port);
    return fd;
}

// A loopback TCP socket connected to port, for a connection to take over as the host's.
int connectedSocket(quint16 port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
    return ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 ? fd : -1;
}

DBConn *newConnection(quint16 port, const char *password = "admin", int socket = 0)
{
    return new DBConn("127.0.0.1", QByteArray::number(port).constData(), "admin", password, socket);
}

// Clicks "&Abort" of the first wait indicator under owner as soon as it shows.
struct AbortClicker : QTimer
{
    explicit AbortClicker(QWidget *owner)
    {
        connect(this, &QTimer::timeout, [this, owner] {
            auto *indicator = owner->findChild<WndProgress *>();
            if (!indicator || !indicator->isVisible())
                return;
            stop();
            clicked = true;
            QTest::mouseClick(indicator->findChild<QPushButton *>(QStringLiteral("btnAbort")), Qt::LeftButton);
        });
        start(20);
    }
    bool clicked = false;
};

enum class SetUp { Greeted, HostSocket, RefusedPort, BadPassword, NoWorker };

} // namespace

Q_DECLARE_METATYPE(SetUp)

class TestDBConn : public QObject
{
    Q_OBJECT

private slots:
    void setUp_data();
    void setUp();
    void requestsAreServedInArrivalOrder();
    void abortDuringASlowAnswer();
    void abandonedRequest_data();
    void abandonedRequest();
    void stopEndsEverythingOnTheGuiThread();
    void stopDuringSetUpWakesTheWorker_data();
    void stopDuringSetUpWakesTheWorker();
    void datagramsWaitingAtATickAreDeliveredInThatTick();
    void requestLog();
    void requestLogKeepsItsNewestLines_data();
    void requestLogKeepsItsNewestLines();
};

void TestDBConn::setUp_data()
{
    QTest::addColumn<SetUp>("way");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("sysError");
    QTest::addColumn<QString>("identification");  // empty: no session

    QTest::newRow("connected") << SetUp::Greeted << 1 << 0 << 0 << "Ornel Admin 7.12 (Linux)";
    // The host read the greeting: its numbers never reach the module.
    QTest::newRow("host-supplied socket") << SetUp::HostSocket << 1 << 0 << 0 << "Ornel Admin 5.0 (Linux)";
    QTest::newRow("refused port") << SetUp::RefusedPort << 2 << 1 << ECONNREFUSED << QString();
    QTest::newRow("bad password") << SetUp::BadPassword << 2 << 102 << 0 << "Ornel Admin 7.12 (Linux)";
    QTest::newRow("no worker thread") << SetUp::NoWorker << 2 << 5 << 0 << QString();
}

void TestDBConn::setUp()
{
    QFETCH(SetUp, way);
    QFETCH(int, state);
    QFETCH(int, code);
    QFETCH(int, sysError);
    QFETCH(QString, identification);

    auto server = startStandIn();
    GreetingPlan plan;
    plan.bytes = QByteArray::fromHex("1100090007000c");
    server->setGreeting(plan);
    quint16 refusedPort = 0;
    const int unlistened = boundSocket(false, &refusedPort);
    int socket = 0;
    if (way == SetUp::HostSocket) {
        socket = connectedSocket(server->port());
        char greeting[7];
        QCOMPARE(recv(socket, greeting, sizeof greeting, MSG_WAITALL), ssize_t(sizeof greeting));
    }
    if (way == SetUp::NoWorker)
        vexa_set_thread_create([](pthread_t *, const pthread_attr_t *, void *(*)(void *), void *) { return EAGAIN; });
    ScopedConnection conn(newConnection(way == SetUp::RefusedPort ? refusedPort : server->port(),
                                        way == SetUp::BadPassword ? "wrong" : "admin", socket));
    vexa_set_thread_create(nullptr);
    QVERIFY(conn->connwait(false, nullptr));
    close(unlistened);
    QCOMPARE(conn->m_state.load(), state);
    QCOMPARE(conn->m_code.load(), code);
    QCOMPARE(conn->m_errno.load(), sysError);
    if (!identification.isEmpty()) {
        QTRY_COMPARE(server->sessions().size(), 1);
        QTRY_COMPARE(server->sessions().at(0).connected, state == 1);
        QCOMPARE(server->sessions().at(0).authenticated, state == 1);
        QCOMPARE(server->sessions().at(0).identification, identification);
    }
    if (state == 1)
        return;
    // Cannot be aborted: it returns only because the request is finished unsent.
    DBReq request(QStringLiteral("select Version from info"), false);
    conn->insert(&request);
    QVERIFY(request.m_finished || way != SetUp::NoWorker);
    request.wait(false, nullptr);
    QCOMPARE(request.m_status, 3);
    QCOMPARE(QByteArray(request.m_error), QByteArray());
    QVERIFY(server->journal().isEmpty());
    QVERIFY(conn.stopAndWait());
}

void TestDBConn::requestsAreServedInArrivalOrder()
{
    auto server = startStandIn();
    ScopedConnection conn(server->port());
    QVERIFY(conn.connect());
    // The first answer comes late, so the others pile up behind it.
    QVERIFY(server->delay("'u0'", 300, 1));

    std::vector<std::unique_ptr<DBReq>> requests;
    QStringList statements;
    for (int i = 0; i < 50; ++i) {
        statements.append(QStringLiteral("select name from user where name='u%1'").arg(i));
        requests.push_back(std::make_unique<DBReq>(statements.last(), false));
        conn->insert(requests.back().get());
    }
    requests.back()->wait(false, nullptr);
    for (const auto &request : requests)
        QCOMPARE(request->m_status, 0);
    QCOMPARE(server->journal(server->sessions().at(0).id), statements);
}

void TestDBConn::abortDuringASlowAnswer()
{
    auto server = startStandIn();
    ScopedConnection conn(server->port());
    QVERIFY(conn.connect());
    const int delayMs = 2000;
    QVERIFY(server->delay("from info", delayMs, 1));

    QWidget owner;
    owner.show();
    AbortClicker clicker(&owner);
    DBReq slow(QStringLiteral("select Version from info"), false);
    conn->insert(&slow);
    QElapsedTimer clock;
    clock.start();
    slow.wait(true, &owner);

    QVERIFY(clicker.clicked);
    QVERIFY2(clock.elapsed() < delayMs, "the wait lasted until the answer came");
    QCOMPARE(slow.m_status, 3);
    QVERIFY(!owner.findChild<WndProgress *>());

    // Served after the late answer, which must not end up in the abandoned request.
    DBReq next(QStringLiteral("select Version from info"), false);
    conn->insert(&next);
    next.wait(false, nullptr);
    QCOMPARE(next.m_status, 0);
    char version[64];
    int length = sizeof version;
    QVERIFY(next.read(0, 0, version, &length));
    QCOMPARE(QByteArray(version), QByteArray("5.0"));
    QCOMPARE(slow.rowCount(), 0);
    QCOMPARE(server->journal(server->sessions().at(0).id).size(), 2);
}

void TestDBConn::abandonedRequest_data()
{
    QTest::addColumn<bool>("takenByWorker");
    QTest::addColumn<QStringList>("journal");

    const QString first = QStringLiteral("select Version from info");
    const QString abandoned = QStringLiteral("select name from user where name='gone'");
    const QString last = QStringLiteral("select name from user where name='after'");
    QTest::newRow("still queued") << false << QStringList{first, last};
    QTest::newRow("being served") << true << QStringList{first, abandoned, last};
}

void TestDBConn::abandonedRequest()
{
    QFETCH(bool, takenByWorker);
    QFETCH(QStringList, journal);

    auto server = startStandIn();
    ScopedConnection conn(server->port());
    QVERIFY(conn.connect());
    QVERIFY(server->delay("from info", 400, 1));
    QVERIFY(server->delay("'gone'", 400, 1));

    DBReq first(journal.first(), false);
    conn->insert(&first);
    auto abandoned = std::make_unique<DBReq>(QStringLiteral("select name from user where name='gone'"), false);
    conn->insert(abandoned.get());
    if (takenByWorker) {
        first.wait(false, nullptr);
        QTRY_COMPARE(server->journal().size(), 2);
    }
    abandoned.reset();

    DBReq last(journal.last(), false);
    conn->insert(&last);
    last.wait(false, nullptr);
    QCOMPARE(first.m_status, 0);
    QCOMPARE(last.m_status, 0);
    QCOMPARE(server->journal(server->sessions().at(0).id), journal);
}

void TestDBConn::stopEndsEverythingOnTheGuiThread()
{
    auto server = startStandIn();
    QPointer<DBConn> conn(newConnection(server->port()));
    QVERIFY(conn->connwait(false, nullptr));
    QVERIFY(server->waitForRegistration(server->sessions().at(0).id, 5000));
    QTreeWidget log;
    conn->m_logview = &log;
    QThread *destroyedOn = nullptr;
    connect(conn, &QObject::destroyed, this, [&] { destroyedOn = QThread::currentThread(); });
    int eventsAfterStop = 0;
    bool stopped = false;
    const auto countAfterStop = [&] { eventsAfterStop += stopped; };
    connect(conn->findChild<QTimer *>(), &QTimer::timeout, this, countAfterStop);
    connect(conn, &DBConn::updatedata, this, countAfterStop);

    // The worker sits blocked on an answer that never comes.
    QVERIFY(server->silence("from info", 1));
    DBReq served(QStringLiteral("select Version from info"), false);
    DBReq queued(QStringLiteral("select name from user where name='never'"), false);
    conn->insert(&served);
    conn->insert(&queued);
    QTRY_COMPARE(server->journal().size(), 1);
    QElapsedTimer sinceStop;
    sinceStop.start();
    conn->stop();
    stopped = true;
    // Waiting datagrams must stay unread now that the session is the worker's to close.
    server->pushDatagram(QByteArray::fromHex("11aa"));
    // Not queued at all, yet logged.
    DBReq late(QStringLiteral("select name from user where name='late'"), false);
    conn->insert(&late);
    QVERIFY(late.m_finished);
    QCOMPARE(late.m_status, 3);
    QCOMPARE(log.topLevelItemCount(), 3);
    // Unabortable waits: they end only because the stopping worker wakes and finishes both.
    queued.wait(false, nullptr);
    QCOMPARE(queued.m_status, 3);
    served.wait(false, nullptr);
    QCOMPARE(served.m_status, 1);
    QVERIFY(QByteArray(served.m_error).startsWith("System or socket error, code "));
    QVERIFY(QTest::qWaitFor([&] { return conn.isNull(); }, 5000));
    QVERIFY(sinceStop.elapsed() < 10000);  // well within the session's receive time-out of a minute
    QCOMPARE(destroyedOn, QCoreApplication::instance()->thread());
    QCOMPARE(eventsAfterStop, 0);
    QCOMPARE(server->journal().size(), 1);
    QTRY_VERIFY(!server->sessions().at(0).connected);
}

void TestDBConn::stopDuringSetUpWakesTheWorker_data()
{
    QTest::addColumn<bool>("hostSocket"); // else the worker connects itself
    QTest::addColumn<QList<int>>("greetingPauses");

    // A peer that completes the connection but never speaks.
    QTest::newRow("host-supplied socket, silent peer") << true << QList<int>();
    QTest::newRow("greeting withheld") << false << QList<int>{0};
    QTest::newRow("greeting stops after its version byte") << false << QList<int>{1};
}

// Abort ends the attempt at once: the worker does not sit out the server's silence, and the
// connection is gone well before any time-out of the session (a minute) could end it.
void TestDBConn::stopDuringSetUpWakesTheWorker()
{
    QFETCH(bool, hostSocket);
    QFETCH(QList<int>, greetingPauses);

    auto server = startStandIn();
    GreetingPlan plan;
    plan.pauseAt = greetingPauses;
    plan.pauseMs = 120000;
    server->setGreeting(plan);
    quint16 silentPort = 0;
    const int silentListener = boundSocket(true, &silentPort);
    QPointer<DBConn> conn = hostSocket ? newConnection(0, "admin", connectedSocket(silentPort))
                                       : newConnection(server->port(), "admin", 0);
    QWidget owner;
    owner.show();
    AbortClicker clicker(&owner);
    QVERIFY(!conn->connwait(true, &owner));
    QVERIFY(clicker.clicked);
    QCOMPARE(conn->m_state.load(), 0);
    conn->stop();
    QVERIFY(QTest::qWaitFor([&] { return conn.isNull(); }, 2000));
    close(silentListener);
}

void TestDBConn::datagramsWaitingAtATickAreDeliveredInThatTick()
{
    auto server = startStandIn();
    ScopedConnection conn(server->port());
    QVERIFY(conn.connect());
    QVERIFY(server->waitForRegistration(server->sessions().at(0).id, 5000));

    int ticks = 0;
    // Connected after the connection's own slot, so it counts ticks already served.
    connect(conn->findChild<QTimer *>(), &QTimer::timeout, this, [&] { ++ticks; });
    QList<QPair<QByteArray, int>> received;
    connect(conn.get(), &DBConn::updatedata, this, [&](char *data, int len) {
        received.append({QByteArray(data, len), ticks});
    });

    QCOMPARE(server->pushDatagram(QByteArray::fromHex("11" "0008" "0000000000000005")), 1);
    QCOMPARE(server->pushDatagram(QByteArray::fromHex("11" "ff")), 1);
    QTRY_COMPARE(received.size(), 2);
    QCOMPARE(received.at(0).first.toHex(), QByteArray("00080000000000000005"));
    QCOMPARE(received.at(1).first.toHex(), QByteArray("ff"));
    QCOMPARE(received.at(0).second, received.at(1).second);
}

void TestDBConn::requestLog()
{
    auto server = startStandIn();
    ScopedConnection conn(server->port());
    QVERIFY(conn.connect());
    QTreeWidget log;
    conn->m_logview = &log;
    // Text, never a format; cut to a log line, yet sent whole.
    const QString percent = QStringLiteral("update user set comment='%s 100%' where name='bob'");
    const QString longText = QStringLiteral("x").repeated(5000);
    for (const QString &statement : {percent, longText}) {
        DBReq request(statement, false);
        conn->insert(&request);
        QCOMPARE(log.topLevelItem(log.topLevelItemCount() - 1)->text(0), statement.left(4095));
        request.wait(false, nullptr);
        QCOMPARE(server->journal().last().statement, statement);
    }
    QCOMPARE(log.topLevelItemCount(), 2);
}

void TestDBConn::requestLogKeepsItsNewestLines_data()
{
    QTest::addColumn<int>("written");
    const int cap = DBConn::RequestLogLines;
    QTest::newRow("up to the cap every line stays") << cap;
    QTest::newRow("past the cap the oldest go") << cap + 250;
    QTest::newRow("a flood of notices") << 4 * cap;
}

// Every update notice a log view follows adds a line: the log stays bounded however long
// the console runs.
void TestDBConn::requestLogKeepsItsNewestLines()
{
    QFETCH(int, written);
    auto server = startStandIn();
    ScopedConnection conn(server->port());
    QVERIFY(conn.connect());
    QTreeWidget log;
    conn->m_logview = &log;
    for (int i = 0; i < written; ++i)
        conn->log("update packet for log id=%d, offset=0, count=%d (total=%d)", 3, i, i);
    const int kept = std::min(written, int(DBConn::RequestLogLines));
    QCOMPARE(log.topLevelItemCount(), kept);
    const int oldest = written - kept;
    QCOMPARE(log.topLevelItem(0)->text(0),
             QStringLiteral("update packet for log id=3, offset=0, count=%1 (total=%1)").arg(oldest));
    // A statement still comes last, and the count stays.
    DBReq request(QStringLiteral("select Version from info"), false);
    conn->insert(&request);
    request.wait(false, nullptr);
    QCOMPARE(log.topLevelItemCount(), std::min(written + 1, int(DBConn::RequestLogLines)));
    QCOMPARE(log.topLevelItem(log.topLevelItemCount() - 1)->text(0), QStringLiteral("select Version from info"));
}

QTEST_MAIN(TestDBConn)
#include "tst_dbconn.moc"
