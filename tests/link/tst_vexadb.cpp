// The protocol client end to end against the stand-in server on loopback: the
// greeting, the session set-up, the login, statements and their answers, the
// update channel, and answers and peers that misbehave.

#include "testserver.h"
#include "vexadb.h"
#include "vexadbblocks.h"
#include "vexadbparse_p.h"
#include "vexadbsocket_p.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

using namespace StandIn;
using namespace vexablocks;

namespace {

const char ClientName[] = "Ornel Admin 5.0 (Linux)";

// One client session, closed when the test leaves its scope.
struct Client
{
    vexadb_handle h = nullptr;
    int sock = -1;
    int syserr = 0;
    int version = 0;
    int num1 = -1;
    int num2 = -1;
    int num3 = -1;

    Client() = default;
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;
    ~Client()
    {
        if (h)
            vexadb_close(h);
        else if (sock >= 0)
            close(sock);
    }

    int connect(quint16 port, const char *host = "127.0.0.1")
    {
        return vexadb_connect(host, QByteArray::number(port).constData(), &sock, &syserr, &version, &num1, &num2,
                              &num3);
    }
    int initSession(const char *name = ClientName)
    {
        const int result = vexadb_initsession(&h, sock, name, 1, &syserr);
        sock = -1;  // the session owns it now, or closed it
        return result;
    }
    // Connects, sets up and logs in; the first failing code.
    int open(quint16 port, const char *password = "admin", int udp = 1)
    {
        if (const int failed = vexadb_open(&h, "127.0.0.1", QByteArray::number(port).constData(), ClientName, udp,
                                           &syserr, &version, &num1, &num2, &num3))
            return failed;
        return vexadb_authenticate(h, "admin", password, nullptr);
    }
    quint32 sessionId() const { return cl_get(h)->session; }
};

// An answer read into a result that is released with the test's scope.
struct Answer
{
    vexadb_result res = {};
    ~Answer() { vexadb_free_result(&res); }

    QByteArray cell(int row, int col) const
    {
        QByteArray buffer(64 * 1024, '\0');
        int len = buffer.size();
        if (vexadb_read_result(&res, row, col, buffer.data(), &len) != 0)
            return QByteArray("<error>");
        return buffer.left(len);
    }
};

// A small statement on the session: its status, or -1 when its answer is wrong.
int askVersion(vexadb_handle h)
{
    Answer answer;
    const int status = vexadb_send_query(h, "select Version from info", &answer.res);
    return status != 0 ? status : (answer.cell(0, 0) == text("5.0") ? 0 : -1);
}

SessionInfo sessionOf(const TestServer &server, quint32 id)
{
    const QList<SessionInfo> sessions = server.sessions();
    for (const SessionInfo &info : sessions) {
        if (info.id == id || (id == 0 && info.id == sessions.last().id))
            return info;
    }
    return SessionInfo();
}

// Polls the update channel until `count` datagrams were delivered or the time is up.
QByteArrayList collectDatagrams(vexadb_handle h, int capacity, int count, int timeoutMs = 5000)
{
    QByteArrayList delivered;
    QByteArray buffer(capacity, '\0');
    QElapsedTimer clock;
    clock.start();
    while (delivered.size() < count && clock.elapsed() < timeoutMs) {
        int len = capacity;
        if (vexadb_getupdatedata(h, buffer.data(), &len) != 0)
            break;
        if (len > 0)
            delivered.append(buffer.left(len));
        else
            QThread::msleep(5);
    }
    return delivered;
}

// A port nothing listens on.
quint16 closedPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

enum class PeerFailure { Silent, Dropped, Gone };

} // namespace

Q_DECLARE_METATYPE(PeerFailure)

class tst_VexaDb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void handshake_data();
    void handshake();
    void greetings_data();
    void greetings();
    void connectFailures_data();
    void connectFailures();

    void everyTypeDecodes();
    void longStatements_data();
    void longStatements();
    void shortBuffer();
    void updateDatagrams_data();
    void updateDatagrams();

    void hostileAnswers_data();
    void hostileAnswers();
    void peerFailures_data();
    void peerFailures();
    void rawAnswersParseAsTheClientDoes();

private:
    std::unique_ptr<TestServer> m_server;
};

void tst_VexaDb::initTestCase()
{
    // A send to a closed peer must fail, never raise SIGPIPE: keep the default
    // action, so that a raised signal would end this test.
    signal(SIGPIPE, SIG_DFL);
    ServerOptions options;
    options.port = 0;
    m_server = std::make_unique<TestServer>(options);
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
    m_server->setAccount("admin", "admin");
    m_server->setAccount(QString(254, u'u'), "long");
    m_server->setTable("every", {{"s", TypeString, true}, {"i", TypeInt, false}, {"l", TypeInt64, false},
                                 {"a", TypeIpAddr, false}, {"p", TypePort, false}, {"b", TypeBinary, false},
                                 {"d", TypeIdList, false}, {"w", TypePwd, false}, {"v", TypeVoid, false}},
                       {{"Zoë \\ line\nbreak", "-7", "-2", "192.168.10.20", "8080", "00ff10", "staff,,sales", "hidden",
                         ""},
                        {"nulls", "", "", "", "", "", "", "", ""}});
}

void tst_VexaDb::init()
{
    m_server->clearControls();
    m_server->setGreeting(GreetingPlan());
}

void tst_VexaDb::handshake_data()
{
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("result");

    const QByteArray name(ClientName);
    const QByteArray ip("127.0.0.1");
    const QByteArray admin("admin");
    QTest::newRow("dotted address") << ip << name << admin << admin << 0;
    QTest::newRow("host name") << QByteArray("localhost") << name << admin << admin << 0;
    QTest::newRow("a name cut to 31 bytes") << ip << QByteArray(40, 'n') << admin << admin << 0;
    QTest::newRow("wrong password") << ip << name << admin << QByteArray("nimda") << 102;
    QTest::newRow("a 254-byte user name") << ip << name << QByteArray(254, 'u') << QByteArray("long") << 0;
    // Their lengths travel in one byte.
    QTest::newRow("a 255-byte user name") << ip << name << QByteArray(255, 'u') << QByteArray("long") << 3;
    QTest::newRow("a 255-byte password") << ip << name << admin << QByteArray(255, 'p') << 3;
}

void tst_VexaDb::handshake()
{
    QFETCH(QByteArray, host);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, password);
    QFETCH(int, result);

    Client client;
    QCOMPARE(client.connect(m_server->port(), host.constData()), 0);
    QCOMPARE((QList<int>{client.version, client.num1, client.num2, client.num3}), (QList<int>{17, 2, 5, 0}));
    QCOMPARE(client.initSession(name.constData()), 0);
    unsigned authResult = 99;
    QCOMPARE(vexadb_authenticate(client.h, user.constData(), password.constData(), &authResult), result);
    if (result == 102) {
        // the server closed the connection instead of answering
        QCOMPARE(vexadb_get_error(client.h), ECONNRESET);
        QCOMPARE(askVersion(client.h), 1);
        QCOMPARE(vexadb_get_error(client.h), ENOTCONN);
        return;
    }
    if (result == 3) {
        // refused before a byte was sent: the session is as it was
        user = "admin";
        QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", &authResult), 0);
    }
    QCOMPARE(authResult, 0u);
    QVERIFY(m_server->waitForRegistration(client.sessionId(), 5000));
    const SessionInfo info = sessionOf(*m_server, client.sessionId());
    QCOMPARE(info.identification, QString::fromLatin1(name.left(31)));
    QCOMPARE(info.user, QString::fromLatin1(user));
    QVERIFY(info.authenticated);
    QVERIFY(info.updateAddress.startsWith(QStringLiteral("127.0.0.1:")));
    QCOMPARE(askVersion(client.h), 0);
}

void tst_VexaDb::greetings_data()
{
    QTest::addColumn<QByteArray>("bytes");   // sent before the server's own key announcement
    QTest::addColumn<QList<int>>("pauseAt");
    QTest::addColumn<bool>("closeAfter");
    QTest::addColumn<int>("connectResult");
    QTest::addColumn<int>("sessionResult");  // -1: not tried
    QTest::addColumn<int>("syserr");
    QTest::addColumn<QList<int>>("numbers");

    const QByteArray greeting = QByteArray::fromHex("11000200050000");
    const QList<int> noPause;
    const QList<int> none{-1, -1, -1};
    const QList<int> usual{2, 5, 0};
    const int reset = ECONNRESET;
    auto announcement = [](quint32 bits) {
        return be32(bits) + QByteArray(128, '\xc5') + be32(3).rightJustified(128, '\0');
    };
    QTest::newRow("split across segments") << QByteArray::fromHex("11ffff00040009") << QList<int>{1, 3, 5} << false
                                           << 0 << 0 << 0 << QList<int>{65535, 4, 9};
    QTest::newRow("version 16") << QByteArray::fromHex("10000200050000") << noPause << false << 103 << -1 << 0 << none;
    QTest::newRow("cut after the version byte") << QByteArray::fromHex("11") << noPause << true << 1 << -1 << reset
                                                << none;
    QTest::newRow("cut inside the numbers") << QByteArray::fromHex("110002") << noPause << true << 1 << -1 << reset
                                            << none;
    QTest::newRow("closed after the greeting") << greeting << noPause << true << 0 << 1 << reset << usual;
    QTest::newRow("a key above 1024 bits") << greeting + announcement(2048) << noPause << false << 0 << 2 << 1030
                                           << usual;
    QTest::newRow("a key of 0 bits") << greeting + announcement(0) << noPause << false << 0 << 2 << 1030 << usual;
    QTest::newRow("an announcement cut short") << greeting + announcement(1024).left(100) << noPause << true << 0
                                               << 1 << reset << usual;
}

void tst_VexaDb::greetings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, pauseAt);
    QFETCH(bool, closeAfter);
    QFETCH(int, connectResult);
    QFETCH(int, sessionResult);
    QFETCH(int, syserr);
    QFETCH(QList<int>, numbers);

    GreetingPlan plan;
    plan.bytes = bytes;
    plan.pauseAt = pauseAt;
    plan.pauseMs = 60;
    plan.closeAfter = closeAfter;
    m_server->setGreeting(plan);
    const int sessionsBefore = m_server->sessions().size();

    Client client;
    QCOMPARE(client.connect(m_server->port()), connectResult);
    QCOMPARE((QList<int>{client.num1, client.num2, client.num3}), numbers);
    if (connectResult == 103)
        QCOMPARE(client.version, 16);
    if (sessionResult >= 0)
        QCOMPARE(client.initSession(), sessionResult);
    QCOMPARE(client.syserr, syserr);
    if (sessionResult == 0) {
        QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", nullptr), 0);
        QCOMPARE(askVersion(client.h), 0);
        return;
    }
    QVERIFY(!client.h);
    QCOMPARE(client.sock, -1);
    if (!closeAfter) {
        // the client closed its end: the server sees the session end
        QTRY_COMPARE(m_server->sessions().size(), sessionsBefore + 1);
        QTRY_VERIFY(!sessionOf(*m_server, 0).connected);
    }
}

void tst_VexaDb::connectFailures_data()
{
    QTest::addColumn<QByteArray>("port");
    QTest::addColumn<int>("syserr");

    QTest::newRow("port not a number") << QByteArray("smtp") << int(EINVAL);
    QTest::newRow("port 0") << QByteArray("0") << int(EINVAL);
    QTest::newRow("port above 65535") << QByteArray("70000") << int(EINVAL);
    QTest::newRow("port with trailing text") << QByteArray("80x") << int(EINVAL);
    QTest::newRow("nothing listening") << QByteArray::number(closedPort()) << int(ECONNREFUSED);
}

void tst_VexaDb::connectFailures()
{
    QFETCH(QByteArray, port);
    QFETCH(int, syserr);
    int sock = -7;
    int error = 0;
    int n[4] = {};
    QCOMPARE(vexadb_connect("127.0.0.1", port.constData(), &sock, &error, &n[0], &n[1], &n[2], &n[3]), 1);
    QCOMPARE(error, syserr);
    QCOMPARE(sock, -7);
    QCOMPARE(vexadb_connect(nullptr, port.constData(), &sock, &error, &n[0], &n[1], &n[2], &n[3]), 3);
    vexadb_handle h = nullptr;
    error = 0;
    QCOMPARE(vexadb_open(&h, "127.0.0.1", port.constData(), ClientName, 1, &error, &n[0], &n[1], &n[2], &n[3]), 1);
    QVERIFY(!h);
    QCOMPARE(error, syserr);
}

void tst_VexaDb::everyTypeDecodes()
{
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select s, i, l, a, p, b, d, w, v from every", &answer.res), 0);
    QCOMPARE(answer.res.kind, 115);
    QCOMPARE(answer.res.nrows, 2u);

    const QList<int> types = {1, 2, 3, 4, 7, 6, 8, 5, 0};
    const QByteArrayList names = {"s", "i", "l", "a", "p", "b", "d", "w", "v"};
    QCOMPARE(int(answer.res.ncols), types.size());
    for (int c = 0; c < types.size(); ++c) {
        vexadb_coldesc desc;
        QCOMPARE(vexadb_get_desc(&answer.res, c, &desc), 0);
        QCOMPARE((QList<int>{desc.type, desc.flags}), (QList<int>{types.at(c), c == 0 ? 1 : 0}));
        QCOMPARE(QByteArray(desc.name), names.at(c));
        QCOMPARE(vexadb_get_col_idx(&answer.res, names.at(c).toUpper().constData()), c);
    }
    const QByteArrayList values = {
        text("Zoë \\ line\nbreak"), native<qint32>(-7), native<qint64>(-2), QByteArray("\xc0\xa8\x0a\x14"),
        be16(8080), QByteArray("\x00\xff\x10", 3), list({"staff", "", "sales"}, false), text(""), QByteArray()};
    // null numbers, addresses, ports and bytes are cells of length 0; an empty list is its end word alone
    const QByteArrayList nullValues = {text("nulls"), {}, {}, {}, {}, {}, native<quint32>(0), text(""), {}};
    for (int c = 0; c < values.size(); ++c) {
        QCOMPARE(answer.cell(0, c), values.at(c));
        QCOMPARE(answer.cell(1, c), nullValues.at(c));
    }
    int empty = 0;  // a cell of length 0 fits any buffer
    QCOMPARE(vexadb_read_result(&answer.res, 1, 1, nullptr, &empty), 0);
    // the list reads back as text through the value layer
    char listText[64];
    QVERIFY(vexadb_val2str(VEXADB_IDLIST, listText, sizeof listText, answer.cell(0, 6).constData(),
                           answer.cell(0, 6).size()) > 0);
    QCOMPARE(QByteArray(listText), QByteArray("staff,,sales"));
}

void tst_VexaDb::longStatements_data()
{
    QTest::addColumn<int>("length");  // of the description; the statement adds 47 bytes
    QTest::newRow("header and text fill the send buffer exactly") << 4096 - 12 - 48;
    QTest::newRow("one byte more") << 4096 - 12 - 47;
    QTest::newRow("a 5000-byte statement") << 5000 - 47;
}

void tst_VexaDb::longStatements()
{
    QFETCH(int, length);
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    QByteArray description(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        description[i] = char('a' + i % 26);
    const QByteArray statement = "update user set description='" + description + "' where name='bob'";
    Answer update;
    QCOMPARE(vexadb_send_query(client.h, statement.constData(), &update.res), 0);
    // Valid, of another kind than 115, and without rows.
    QCOMPARE((QList<int>{update.res.valid, update.res.kind, int(update.res.spare1)}), (QList<int>{1, 0, 1}));
    QCOMPARE(update.cell(0, 0), QByteArray("<error>"));
    QCOMPARE(vexadb_get_col_idx(&update.res, "description"), -1);
    QCOMPARE(m_server->journal(client.sessionId()).last().toLatin1(), statement);

    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select description from user where name='bob'", &answer.res), 0);
    QCOMPARE(answer.cell(0, 0), text(description));
}

void tst_VexaDb::shortBuffer()
{
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select name, qstorage from user where name='alice'", &answer.res), 0);
    QByteArray buffer(16, '\x5a');
    for (int len : {3, -1}) {  // a negative length holds nothing
        QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer.data(), &len), 112);
        QCOMPARE(len, 6);
        QCOMPARE(buffer, QByteArray(16, '\x5a'));
    }
    int len = 6;
    QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer.data(), &len), 0);
    QCOMPARE(buffer, text("alice") + QByteArray(10, '\x5a'));
    len = 7;
    QCOMPARE(vexadb_read_result(&answer.res, 0, 1, buffer.data(), &len), 112);
    QCOMPARE(len, 8);
    QCOMPARE(vexadb_read_result(&answer.res, 0, 1, buffer.data(), &len), 0);
    QCOMPARE(buffer.left(8), native<qint64>(209715200));
}

void tst_VexaDb::updateDatagrams_data()
{
    QTest::addColumn<int>("udp");
    QTest::addColumn<QByteArrayList>("pushed");
    QTest::addColumn<QByteArrayList>("delivered");

    const QByteArray last("\x11" "last", 5);
    QByteArray fill(1499, Qt::Uninitialized);
    for (int i = 0; i < fill.size(); ++i)
        fill[i] = char(i);
    QTest::newRow("two in order") << 1 << QByteArrayList{"\x11" "first", "\x11" "second"}
                                  << QByteArrayList{"first", "second"};
    QTest::newRow("the version byte alone is dropped") << 1 << QByteArrayList{"\x11", last} << QByteArrayList{"last"};
    QTest::newRow("another version is dropped") << 1 << QByteArrayList{"\x10" "older", last}
                                                << QByteArrayList{"last"};
    QTest::newRow("exactly the receive buffer") << 1 << QByteArrayList{"\x11" + fill, last}
                                                << QByteArrayList{fill, "last"};
    // Dropped whole, never delivered cut.
    QTest::newRow("longer than the receive buffer") << 1 << QByteArrayList{"\x11" + fill + "x", last}
                                                    << QByteArrayList{"last"};
    QTest::newRow("no update channel") << 0 << QByteArrayList{last} << QByteArrayList{};
}

void tst_VexaDb::updateDatagrams()
{
    QFETCH(int, udp);
    QFETCH(QByteArrayList, pushed);
    QFETCH(QByteArrayList, delivered);

    Client client;
    QCOMPARE(client.open(m_server->port(), "admin", udp), 0);
    QCOMPARE(m_server->waitForRegistration(client.sessionId(), udp ? 5000 : 200), bool(udp));
    for (const QByteArray &datagram : pushed)
        QCOMPARE(m_server->pushDatagram(datagram, client.sessionId()), udp);
    // The last one pushed is always delivered: once it is, every datagram
    // before it has arrived and was consumed.
    QCOMPARE(collectDatagrams(client.h, 4000, delivered.size()), delivered);
    QCOMPARE(collectDatagrams(client.h, 4000, 1, 50), QByteArrayList());
}

void tst_VexaDb::hostileAnswers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    for (const HostileAnswer &row : vexablocks::hostileAnswers())
        QTest::newRow(row.name) << row.bytes << row.expected;
    // Refusals carry a status and a detail but no block; the session goes on.
    QTest::newRow("refused with a detail") << be32(0) + be32(0) + be32(109) + be32(42) << 109;
    QTest::newRow("a status outside the table") << be32(0) + be32(0) + be32(999) + be32(7) << 999;
}

void tst_VexaDb::hostileAnswers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QVERIFY(m_server->answerRaw("^select hostile", bytes, 1));

    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select hostile from nowhere", &answer.res), expected);
    QCOMPARE(answer.res.valid, expected == 0);
    QCOMPARE(!answer.res.data, expected != 0);
    if (expected != 2) {
        if (expected != 0)
            QCOMPARE(vexadb_get_error(client.h), qFromBigEndian<int>(bytes.constData() + 12));
        QCOMPARE(askVersion(client.h), 0);
        return;
    }
    // The session counts as lost: a later statement fails at once, without
    // reading a stream that may be out of step, and the server sees it end.
    QCOMPARE(askVersion(client.h), 1);
    QCOMPARE(vexadb_get_error(client.h), ENOTCONN);
    QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", nullptr), 1);
    QTRY_VERIFY(!sessionOf(*m_server, client.sessionId()).connected);
}

void tst_VexaDb::peerFailures_data()
{
    QTest::addColumn<PeerFailure>("failure");
    QTest::addColumn<QList<int>>("errors");

    QTest::newRow("a silent server times out") << PeerFailure::Silent << QList<int>{EAGAIN, EWOULDBLOCK};
    QTest::newRow("closed while answering") << PeerFailure::Dropped << QList<int>{ECONNRESET};
    // The first piece of a long statement is accepted by the system, the next
    // meets the reset connection (EPIPE, which must not raise SIGPIPE).
    QTest::newRow("gone before a long statement") << PeerFailure::Gone << QList<int>{EPIPE, ECONNRESET};
}

void tst_VexaDb::peerFailures()
{
    QFETCH(PeerFailure, failure);
    QFETCH(QList<int>, errors);

    ServerOptions options;
    options.port = 0;
    TestServer ownServer(options);
    QVERIFY(ownServer.start());
    TestServer &server = failure == PeerFailure::Gone ? ownServer : *m_server;
    QVERIFY(m_server->silence("^select LogList", 1));
    QVERIFY(m_server->dropAt("^delete", 1));

    Client client;
    QCOMPARE(client.open(server.port()), 0);
    QByteArray statement = "delete from alias where lhs='nobody'";
    if (failure == PeerFailure::Silent) {
        QCOMPARE(vexadb_set_receive_timeout(client.h, 1), 0);
        statement = "select LogList()";
    } else if (failure == PeerFailure::Gone) {
        server.stop();
        statement = QByteArray(100000, 'y');
    }
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, statement.constData(), &answer.res), 1);
    QVERIFY2(errors.contains(vexadb_get_error(client.h)), qPrintable(QString::number(vexadb_get_error(client.h))));
    QCOMPARE(answer.res.valid, 0);
    // an answer that may still come would be out of step: the session is over
    QCOMPARE(askVersion(client.h), 1);
    QCOMPARE(vexadb_get_error(client.h), ENOTCONN);
    if (failure == PeerFailure::Silent)
        QTRY_VERIFY(!sessionOf(*m_server, client.sessionId()).connected);
}

void tst_VexaDb::rawAnswersParseAsTheClientDoes()
{
    // Captures answers as they arrive and parses them over a plain buffer, as
    // the fuzz target does: the result must be the one the socket path gives.
    // With ORNEL_CAPTURE_CORPUS set to a folder, the answers and a few update
    // datagrams are written there as the fuzz targets' seed corpus.
    const QString corpus = qEnvironmentVariable("ORNEL_CAPTURE_CORPUS");
    const QByteArrayList statements = {
        "select name, qstorage, groups, password, account_enabled from user",
        "select s, i, l, a, p, b, d, w, v from every",
        "select lhs, rhs, domain from alias",
        "select Version from info",
        "select LogList()",
        "select get_auth_types()",
        "update user set description='corpus' where name='alice'",
        "select nosuchcolumn from user",
    };
    Client raw;
    Client parsed;
    QCOMPARE(raw.open(m_server->port()), 0);
    QCOMPARE(parsed.open(m_server->port()), 0);
    int index = 0;
    for (const QByteArray &statement : statements) {
        const QByteArray bytes = rawAnswer(raw.h, statement);
        QVERIFY2(bytes.size() >= VEXADB_ANSWER_HEADER, statement.constData());
        vexadb_answer_header header;
        vexadb_decode_answer_header(reinterpret_cast<const unsigned char *>(bytes.constData()), &header);

        Answer viaSocket;
        const int status = vexadb_send_query(parsed.h, statement.constData(), &viaSocket.res);
        QCOMPARE(int(header.status), status);
        if (status == 0) {
            Answer viaBuffer;
            auto *data = static_cast<unsigned char *>(malloc(header.size));
            memcpy(data, bytes.constData() + VEXADB_ANSWER_HEADER, header.size);
            QCOMPARE(vexadb_parse_block(&viaBuffer.res, data, header.size), 0);
            QCOMPARE(viaBuffer.res.kind, viaSocket.res.kind);
            QCOMPARE(viaBuffer.res.nrows, viaSocket.res.nrows);
            QCOMPARE(viaBuffer.res.ncols, viaSocket.res.ncols);
            const quint32 rows = viaSocket.res.kind == VEXADB_KIND_ROWSET ? viaSocket.res.nrows : 0;
            for (quint32 r = 0; r < rows; ++r) {
                for (int c = 0; c < viaSocket.res.ncols; ++c)
                    QCOMPARE(viaBuffer.cell(int(r), c), viaSocket.cell(int(r), c));
            }
        }
        if (!corpus.isEmpty()) {
            QDir().mkpath(corpus + "/answer");
            QFile file(QStringLiteral("%1/answer/server-%2").arg(corpus).arg(index++, 2, 10, QChar(u'0')));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
    }
    if (corpus.isEmpty())
        return;
    QDir().mkpath(corpus + "/datagram");
    const QList<QPair<quint16, QByteArray>> datagrams = {
        {1500, QByteArray(1, '\x11') + TestServer::logUpdateRecord(3, 0, 120)},
        {1500, QByteArray(1, '\x11') + TestServer::logUpdateRecord(0, 4, 4)},
        {1500, QByteArray(1, '\x11')},
        {8, QByteArray("\x10" "older", 6)},
    };
    int n = 0;
    for (const auto &[capacity, datagram] : datagrams) {
        QFile file(QStringLiteral("%1/datagram/seed-%2").arg(corpus).arg(n++));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(be16(capacity) + datagram);
    }
}

QTEST_GUILESS_MAIN(tst_VexaDb)
#include "tst_vexadb.moc"
