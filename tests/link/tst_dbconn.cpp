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

// A TCP socket of the loopback interface, closed with the object.
class LoopbackSocket
{
public:
    LoopbackSocket()
        : m_fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
    }
    ~LoopbackSocket()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    LoopbackSocket(const LoopbackSocket &) = delete;
    LoopbackSocket &operator=(const LoopbackSocket &) = delete;

    // Bound to a free port; with listen, connections complete but nobody answers.
    bool bindAnyPort(bool listening)
    {
        sockaddr_in address = loopback(0);
        if (bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            return false;
        return !listening || listen(m_fd, 4) == 0;
    }

    quint16 port() const
    {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &size);
        return ntohs(address.sin_port);
    }

    bool connectTo(quint16 port)
    {
        sockaddr_in address = loopback(port);
        return ::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }

    bool readExactly(int count)
    {
        QByteArray bytes(count, '\0');
        int got = 0;
        while (got < count) {
            const ssize_t n = recv(m_fd, bytes.data() + got, size_t(count - got), 0);
            if (n <= 0)
                return false;
            got += int(n);
        }
        return true;
    }

    // Hands the descriptor over (to a connection, which closes it).
    int take()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    static sockaddr_in loopback(quint16 port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }

    int m_fd;
};

int refuseEveryThread(pthread_t *, const pthread_attr_t *, void *(*)(void *), void *)
{
    return EAGAIN;
}

QTimer *updateTimerOf(DBConn *conn)
{
    return conn->findChild<QTimer *>();
}

// Clicks "&Abort" of the first wait indicator under owner as soon as it shows.
class AbortClicker : public QObject
{
public:
    explicit AbortClicker(QWidget *owner)
        : m_owner(owner)
    {
        m_poll.setInterval(20);
        connect(&m_poll, &QTimer::timeout, this, &AbortClicker::clickWhenShown);
        m_poll.start();
    }
    bool clicked = false;

private:
    void clickWhenShown()
    {
        auto *indicator = m_owner->findChild<WndProgress *>();
        if (!indicator || !indicator->isVisible())
            return;
        m_poll.stop();
        clicked = true;
        QTest::mouseClick(indicator->findChild<QPushButton *>(QStringLiteral("btnAbort")),
                          Qt::LeftButton);
    }

    QWidget *m_owner;
    QTimer m_poll;
};

QString versionOf(DBReq &request)
{
    char text[64];
    int length = sizeof text;
    if (!request.read(0, 0, text, &length))
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(text);
}

} // namespace

class TestDBConn : public QObject
{
    Q_OBJECT

private slots:
    void setUp_data();
    void setUp();
    void clientName_data();
    void clientName();
    void workerThatCannotStartEndsTheWait();
    void requestIntoAFailedConnectionFinishesUnsent();
    void requestsAreServedInArrivalOrder();
    void abortDuringASlowAnswer();
    void abandonedRequest_data();
    void abandonedRequest();
    void requestIntoAStoppingConnectionIsNotQueued();
    void stopFinishesQueuedRequestsUnsent();
    void stopEndsTheConnectionOnTheGuiThread();
    void stopWakesABlockedWorker_data();
    void stopWakesABlockedWorker();
    void abortedConnectWaitThenStop();
    void datagramsWaitingAtATickAreDeliveredInThatTick();
    void requestLog_data();
    void requestLog();
    void logFormatsItsArguments();
};

void TestDBConn::setUp_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("listening");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("sysError");
    QTest::addColumn<bool>("sessionOpen");

    QTest::newRow("connected") << QByteArray("admin") << true << 1 << 0 << 0 << true;
    QTest::newRow("refused port") << QByteArray("admin") << false << 2 << 1 << ECONNREFUSED << false;
    QTest::newRow("bad password") << QByteArray("wrong") << true << 2 << 102 << 0 << false;
}

void TestDBConn::setUp()
{
    QFETCH(QByteArray, password);
    QFETCH(bool, listening);
    QFETCH(int, state);
    QFETCH(int, code);
    QFETCH(int, sysError);
    QFETCH(bool, sessionOpen);

    auto server = startStandIn();
    LoopbackSocket unlistened; // keeps its port from being taken while it is refused
    QVERIFY(unlistened.bindAnyPort(false));
    const quint16 port = listening ? server->port() : unlistened.port();

    ScopedConnection conn(port, "admin", password.constData());
    QVERIFY(conn->connwait(false, nullptr));
    QCOMPARE(conn->m_state.load(), state);
    QCOMPARE(conn->m_code.load(), code);
    QCOMPARE(conn->m_errno.load(), sysError);
    if (listening) {
        QTRY_COMPARE(server->sessions().size(), 1);
        QTRY_COMPARE(server->sessions().at(0).connected, sessionOpen);
        QCOMPARE(server->sessions().at(0).authenticated, sessionOpen);
    }
}

void TestDBConn::clientName_data()
{
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<bool>("hostSocket");
    QTest::addColumn<QString>("name");

    QTest::newRow("greeting 2, 5, 0") << QByteArray::fromHex("11000200050000") << false
                                      << "Ornel Admin 5.0 (Linux)";
    QTest::newRow("greeting 9, 7, 12") << QByteArray::fromHex("1100090007000c") << false
                                       << "Ornel Admin 7.12 (Linux)";
    QTest::newRow("host-supplied socket") << QByteArray::fromHex("1100090007000c") << true
                                          << "Ornel Admin 5.0 (Linux)";
}

void TestDBConn::clientName()
{
    QFETCH(QByteArray, greeting);
    QFETCH(bool, hostSocket);
    QFETCH(QString, name);

    auto server = startStandIn();
    GreetingPlan plan;
    plan.bytes = greeting;
    server->setGreeting(plan);

    DBConn *made = nullptr;
    if (hostSocket) {
        // The host connects and reads the greeting before handing the socket over.
        LoopbackSocket socket;
        QVERIFY(socket.connectTo(server->port()));
        QVERIFY(socket.readExactly(greeting.size()));
        made = new DBConn("127.0.0.1", QByteArray::number(server->port()).constData(), "admin",
                          "admin", socket.take());
    } else {
        made = new DBConn("127.0.0.1", QByteArray::number(server->port()).constData(), "admin",
                          "admin", 0);
    }
    ScopedConnection conn(made);
    QVERIFY(conn.connect());
    QCOMPARE(server->sessions().size(), 1);
    QCOMPARE(server->sessions().at(0).identification, name);
}

void TestDBConn::workerThatCannotStartEndsTheWait()
{
    vexa_set_thread_create(refuseEveryThread);
    auto *made = new DBConn("127.0.0.1", "1", "admin", "admin", 0);
    vexa_set_thread_create(nullptr);
    ScopedConnection conn(made);

    QVERIFY(conn->connwait(false, nullptr));
    QCOMPARE(conn->m_state.load(), 2);
    QCOMPARE(conn->m_code.load(), 5);

    DBReq request(QStringLiteral("select Version from info"), false);
    conn->insert(&request);
    QVERIFY(request.m_finished);
    QCOMPARE(request.m_status, 3);
    QVERIFY(conn.stopAndWait());
}

void TestDBConn::requestIntoAFailedConnectionFinishesUnsent()
{
    auto server = startStandIn();
    ScopedConnection conn(server->port(), "admin", "wrong");
    QVERIFY(conn->connwait(false, nullptr));
    QCOMPARE(conn->m_state.load(), 2);

    // Cannot be aborted: it returns only because the ended worker finishes it.
    DBReq request(QStringLiteral("select Version from info"), false);
    conn->insert(&request);
    request.wait(false, nullptr);
    QCOMPARE(request.m_status, 3);
    QCOMPARE(QByteArray(request.m_error), QByteArray());
    QVERIFY(server->journal().isEmpty());
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

    for (const auto &request : requests) {
        QVERIFY(request->m_finished);
        QCOMPARE(request->m_status, 0);
    }
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
    owner.resize(400, 300);
    owner.show();
    AbortClicker clicker(&owner);
    DBReq slow(QStringLiteral("select Version from info"), false);
    conn->insert(&slow);
    QElapsedTimer clock;
    clock.start();
    slow.wait(true, &owner);

    QVERIFY(clicker.clicked);
    QVERIFY2(clock.elapsed() < delayMs, "the wait lasted until the answer came");
    QVERIFY(slow.m_finished);
    QCOMPARE(slow.m_status, 3);
    QCOMPARE(QByteArray(slow.m_error), QByteArray());
    QVERIFY(!owner.findChild<WndProgress *>());

    // Served after the late answer, which must not end up in the abandoned request.
    DBReq next(QStringLiteral("select Version from info"), false);
    conn->insert(&next);
    next.wait(false, nullptr);
    QCOMPARE(next.m_status, 0);
    QCOMPARE(versionOf(next), QStringLiteral("5.0"));
    QCOMPARE(slow.m_status, 3);
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
    auto abandoned = std::make_unique<DBReq>(
        QStringLiteral("select name from user where name='gone'"), false);
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

void TestDBConn::requestIntoAStoppingConnectionIsNotQueued()
{
    auto server = startStandIn();
    auto *made = new DBConn("127.0.0.1", QByteArray::number(server->port()).constData(), "admin",
                            "admin", 0);
    QPointer<DBConn> conn(made);
    QVERIFY(made->connwait(false, nullptr));
    QTreeWidget log;
    made->m_logview = &log;

    made->stop();
    DBReq late(QStringLiteral("select Version from info"), false);
    made->insert(&late);
    QVERIFY(late.m_finished);
    QCOMPARE(late.m_status, 3);
    QCOMPARE(QByteArray(late.m_error), QByteArray());
    QCOMPARE(log.topLevelItemCount(), 1);

    QVERIFY(QTest::qWaitFor([&] { return conn.isNull(); }, 10000));
    QVERIFY(server->journal().isEmpty());
}

void TestDBConn::stopFinishesQueuedRequestsUnsent()
{
    auto server = startStandIn();
    auto *made = new DBConn("127.0.0.1", QByteArray::number(server->port()).constData(), "admin",
                            "admin", 0);
    QPointer<DBConn> conn(made);
    QVERIFY(made->connwait(false, nullptr));
    QVERIFY(server->delay("from info", 1000, 1));

    DBReq served(QStringLiteral("select Version from info"), false);
    DBReq queued(QStringLiteral("select name from user where name='never'"), false);
    made->insert(&served);
    made->insert(&queued);
    QTRY_COMPARE(server->journal().size(), 1);
    made->stop();

    // Without an indicator this wait cannot be aborted: it ends only because the
    // stopping worker finishes the request.
    queued.wait(false, nullptr);
    QCOMPARE(queued.m_status, 3);
    served.wait(false, nullptr);
    QVERIFY(served.m_finished);
    QVERIFY(QTest::qWaitFor([&] { return conn.isNull(); }, 10000));
    QCOMPARE(server->journal().size(), 1);
}

void TestDBConn::stopEndsTheConnectionOnTheGuiThread()
{
    auto server = startStandIn();
    auto *made = new DBConn("127.0.0.1", QByteArray::number(server->port()).constData(), "admin",
                            "admin", 0);
    QPointer<DBConn> conn(made);
    QVERIFY(made->connwait(false, nullptr));
    QCOMPARE(made->m_state.load(), 1);
    QVERIFY(server->waitForRegistration(server->sessions().at(0).id, 5000));

    QThread *destroyedOn = nullptr;
    connect(made, &QObject::destroyed, this, [&] { destroyedOn = QThread::currentThread(); });
    int ticksAfterStop = 0;
    bool stopped = false;
    connect(updateTimerOf(made), &QTimer::timeout, this, [&] {
        if (stopped)
            ++ticksAfterStop;
    });
    int datagramsAfterStop = 0;
    connect(made, &DBConn::updatedata, this, [&] {
        if (stopped)
            ++datagramsAfterStop;
    });

    made->stop();
    stopped = true;
    // Waiting datagrams must stay unread now that the session is the worker's to close.
    server->pushDatagram(QByteArray::fromHex("11aa"));
    QVERIFY(QTest::qWaitFor([&] { return conn.isNull(); }, 10000));
    QCOMPARE(destroyedOn, QCoreApplication::instance()->thread());
    QCOMPARE(ticksAfterStop, 0);
    QCOMPARE(datagramsAfterStop, 0);
    QTRY_VERIFY(!server->sessions().at(0).connected);
}

void TestDBConn::stopWakesABlockedWorker_data()
{
    QTest::addColumn<bool>("duringSetUp");

    QTest::newRow("serving a request the server never answers") << false;
    QTest::newRow("setting up with a peer that never speaks") << true;
}

void TestDBConn::stopWakesABlockedWorker()
{
    QFETCH(bool, duringSetUp);

    auto server = startStandIn();
    LoopbackSocket silentListener;
    QVERIFY(silentListener.bindAnyPort(true));
    QPointer<DBConn> conn;
    std::unique_ptr<DBReq> unanswered;
    if (duringSetUp) {
        LoopbackSocket socket;
        QVERIFY(socket.connectTo(silentListener.port()));
        conn = new DBConn("127.0.0.1", "0", "admin", "admin", socket.take());
        QTest::qWait(100);
        QCOMPARE(conn->m_state.load(), 0);
    } else {
        QVERIFY(server->silence("from info", 1));
        conn = new DBConn("127.0.0.1", QByteArray::number(server->port()).constData(), "admin",
                          "admin", 0);
        QVERIFY(conn->connwait(false, nullptr));
        unanswered = std::make_unique<DBReq>(QStringLiteral("select Version from info"), false);
        conn->insert(unanswered.get());
        QTRY_COMPARE(server->journal().size(), 1);
    }

    conn->stop();
    // Well within the session's receive time-out of a minute.
    QVERIFY(QTest::qWaitFor([&] { return conn.isNull(); }, 5000));
    if (unanswered) {
        QVERIFY(unanswered->m_finished);
        QCOMPARE(unanswered->m_status, 1);
        QVERIFY(QByteArray(unanswered->m_error).startsWith("System or socket error, code "));
    }
}

void TestDBConn::abortedConnectWaitThenStop()
{
    LoopbackSocket silentListener;
    QVERIFY(silentListener.bindAnyPort(true));
    LoopbackSocket socket;
    QVERIFY(socket.connectTo(silentListener.port()));
    auto *made = new DBConn("127.0.0.1", "0", "admin", "admin", socket.take());
    QPointer<DBConn> conn(made);

    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    AbortClicker clicker(&owner);
    QVERIFY(!made->connwait(true, &owner));
    QVERIFY(clicker.clicked);
    QCOMPARE(made->m_state.load(), 0);

    made->stop();
    QVERIFY(QTest::qWaitFor([&] { return conn.isNull(); }, 5000));
}

void TestDBConn::datagramsWaitingAtATickAreDeliveredInThatTick()
{
    auto server = startStandIn();
    ScopedConnection conn(server->port());
    QVERIFY(conn.connect());
    QVERIFY(server->waitForRegistration(server->sessions().at(0).id, 5000));

    int ticks = 0;
    // Connected after the connection's own slot, so it counts ticks already served.
    connect(updateTimerOf(conn.get()), &QTimer::timeout, this, [&] { ++ticks; });
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

void TestDBConn::requestLog_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("shown");

    const QString percent = QStringLiteral("update user set comment='%s 100%' where name='bob'");
    QTest::newRow("printf directives") << percent << percent;
    const QString directives = QStringLiteral("select %n%d%%%x from info");
    QTest::newRow("more directives") << directives << directives;
    const QString accented = QString::fromUtf8("select name from user where name='Zoë ☃'");
    QTest::newRow("non-Latin text") << accented << accented;
    const QString longText = QStringLiteral("x").repeated(5000);
    QTest::newRow("longer than a log line") << longText << longText.left(4095);
}

void TestDBConn::requestLog()
{
    QFETCH(QString, statement);
    QFETCH(QString, shown);

    auto server = startStandIn();
    ScopedConnection conn(server->port());
    QVERIFY(conn.connect());
    QTreeWidget log;
    log.setColumnCount(1);
    conn->m_logview = &log;

    DBReq request(statement, false);
    conn->insert(&request);
    QCOMPARE(log.topLevelItemCount(), 1);
    QCOMPARE(log.topLevelItem(0)->text(0), shown);
    request.wait(false, nullptr);
    // Sent whole, whatever the log shows.
    QCOMPARE(server->journal().last().statement, statement);
}

void TestDBConn::logFormatsItsArguments()
{
    auto server = startStandIn();
    ScopedConnection conn(server->port());
    // Without a log view nothing is kept.
    conn->log("%d rows of %s", 3, "user");

    QTreeWidget log;
    conn->m_logview = &log;
    conn->log("%d rows of %s", 3, "user");
    conn->log("%s", "second");
    QCOMPARE(log.topLevelItemCount(), 2);
    QCOMPARE(log.topLevelItem(0)->text(0), QStringLiteral("3 rows of user"));
    QCOMPARE(log.topLevelItem(1)->text(0), QStringLiteral("second"));
}

QTEST_MAIN(TestDBConn)
#include "tst_dbconn.moc"
