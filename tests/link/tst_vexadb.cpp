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
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <thread>

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
        const QByteArray portText = QByteArray::number(port);
        return vexadb_connect(host, portText.constData(), &sock, &syserr, &version, &num1, &num2, &num3);
    }
    int initSession(const char *name = ClientName, int udp = 1)
    {
        const int result = vexadb_initsession(&h, sock, name, udp, &syserr);
        sock = -1;  // the session owns it now, or closed it
        return result;
    }
    // Connect, set up and log in; the first failing code.
    int open(quint16 port, const char *user = "admin", const char *password = "admin", int udp = 1)
    {
        if (const int failed = connect(port))
            return failed;
        if (const int failed = initSession(ClientName, udp))
            return failed;
        unsigned result = 1;
        return vexadb_authenticate(h, user, password, &result);
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

SessionInfo sessionOf(const TestServer &server, quint32 id)
{
    for (const SessionInfo &info : server.sessions()) {
        if (info.id == id)
            return info;
    }
    return SessionInfo();
}

SessionInfo newestSession(const TestServer &server)
{
    SessionInfo newest;
    for (const SessionInfo &info : server.sessions()) {
        if (info.id >= newest.id)
            newest = info;
    }
    return newest;
}

// Polls the update channel until `count` datagrams were delivered or the time
// is up.
QByteArrayList collectDatagrams(vexadb_handle h, int capacity, int count, int timeoutMs = 5000)
{
    QByteArrayList delivered;
    QByteArray buffer(capacity > 0 ? capacity : 1, '\0');
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

// A peer that accepts one connection, sends its script and then waits for the
// client to close.
class ScriptedPeer
{
public:
    explicit ScriptedPeer(const QByteArray &script)
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || listen(m_listener, 1) != 0
            || getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, script] { serve(script); });
    }
    ~ScriptedPeer()
    {
        if (m_thread.joinable())
            m_thread.join();
        close(m_listener);
    }
    quint16 port() const { return m_port; }
    // True once the client closed the connection (rather than the wait ending).
    bool clientClosed()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_clientClosed;
    }

private:
    void serve(const QByteArray &script)
    {
        const int fd = accept(m_listener, nullptr, nullptr);
        if (fd < 0)
            return;
        ::send(fd, script.constData(), size_t(script.size()), MSG_NOSIGNAL);
        shutdown(fd, SHUT_WR);  // a script cut short ends the stream there
        timeval timeout = {10, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        char sink[4096];
        ssize_t n;
        while ((n = recv(fd, sink, sizeof sink, 0)) > 0) {
        }
        m_clientClosed = n == 0;
        close(fd);
    }

    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_clientClosed{false};
};

QByteArray announcementOf(quint32 bits)
{
    QByteArray modulus(128, '\xc5');
    QByteArray exponent(128, '\0');
    exponent[127] = 3;
    return be32(bits) + modulus + exponent;
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

} // namespace

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
    void keyAnnouncement_data();
    void keyAnnouncement();
    void connectFailures_data();
    void connectFailures();
    void openConnectsAndSetsUp();
    void authentication_data();
    void authentication();

    void refusedStatement_data();
    void refusedStatement();
    void everyTypeDecodes();
    void longStatements_data();
    void longStatements();
    void shortBuffer();
    void otherKindHasNoRows();

    void updateDatagrams_data();
    void updateDatagrams();
    void noUpdateChannel();

    void hostileAnswers_data();
    void hostileAnswers();
    void silentServerTimesOut();
    void closedPeerDuringRead();
    void closedPeerDuringSend();

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
    m_server->setAccount("guest", "");
    m_server->setAccount(QString(254, u'u'), "long");
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
    QTest::addColumn<QString>("identification");

    QTest::newRow("dotted address") << QByteArray("127.0.0.1") << QByteArray(ClientName) << QString(ClientName);
    QTest::newRow("host name") << QByteArray("localhost") << QByteArray(ClientName) << QString(ClientName);
    QTest::newRow("a name cut to 31 bytes") << QByteArray("127.0.0.1") << QByteArray(40, 'n')
                                            << QString(31, u'n');
    QTest::newRow("an empty name") << QByteArray("127.0.0.1") << QByteArray("") << QString();
}

void tst_VexaDb::handshake()
{
    QFETCH(QByteArray, host);
    QFETCH(QByteArray, name);
    QFETCH(QString, identification);

    Client client;
    QCOMPARE(client.connect(m_server->port(), host.constData()), 0);
    QCOMPARE(client.version, 17);
    QCOMPARE(client.num1, 2);
    QCOMPARE(client.num2, 5);
    QCOMPARE(client.num3, 0);
    // the name the object layer builds from the greeting's second and third numbers
    QCOMPARE(QStringLiteral("Ornel Admin %1.%2 (Linux)").arg(client.num2).arg(client.num3), QString(ClientName));

    QCOMPARE(client.initSession(name.constData()), 0);
    QVERIFY(client.h);
    unsigned authResult = 99;
    QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", &authResult), 0);
    QCOMPARE(authResult, 0u);

    QVERIFY(m_server->waitForRegistration(client.sessionId(), 5000));
    const SessionInfo info = sessionOf(*m_server, client.sessionId());
    QCOMPARE(info.identification, identification);
    QCOMPARE(info.user, QStringLiteral("admin"));
    QVERIFY(info.authenticated);
    QVERIFY(info.registered);
    QVERIFY(info.updateAddress.startsWith(QStringLiteral("127.0.0.1:")));

    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select Version from info", &answer.res), 0);
    QCOMPARE(answer.cell(0, 0), text("5.0"));
}

void tst_VexaDb::greetings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("pauseAt");
    QTest::addColumn<bool>("closeAfter");
    QTest::addColumn<int>("connectResult");
    QTest::addColumn<int>("sessionResult");   // -1: not tried
    QTest::addColumn<QList<int>>("numbers");

    QTest::newRow("split across segments") << QByteArray::fromHex("11000200050000") << QList<int>{1, 3, 5}
                                           << false << 0 << 0 << QList<int>{2, 5, 0};
    QTest::newRow("other numbers") << QByteArray::fromHex("11ffff00040009") << QList<int>{} << false << 0 << 0
                                   << QList<int>{65535, 4, 9};
    QTest::newRow("version 16") << QByteArray::fromHex("10000200050000") << QList<int>{} << false << 103 << -1
                                << QList<int>{-1, -1, -1};
    QTest::newRow("cut after the version byte") << QByteArray::fromHex("11") << QList<int>{} << true << 1 << -1
                                                << QList<int>{-1, -1, -1};
    QTest::newRow("cut inside the numbers") << QByteArray::fromHex("110002") << QList<int>{} << true << 1 << -1
                                            << QList<int>{-1, -1, -1};
    QTest::newRow("closed after the greeting") << QByteArray::fromHex("11000200050000") << QList<int>{} << true
                                               << 0 << 1 << QList<int>{2, 5, 0};
}

void tst_VexaDb::greetings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, pauseAt);
    QFETCH(bool, closeAfter);
    QFETCH(int, connectResult);
    QFETCH(int, sessionResult);
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
    if (connectResult == 103) {
        QCOMPARE(client.version, 16);
        QCOMPARE(client.sock, -1);  // not handed out
        // the client closed its end: the server sees the session end
        QTRY_COMPARE(m_server->sessions().size(), sessionsBefore + 1);
        QTRY_VERIFY(!newestSession(*m_server).connected);
    }
    if (connectResult == 1)
        QCOMPARE(client.syserr, ECONNRESET);
    if (sessionResult >= 0) {
        QCOMPARE(client.initSession(), sessionResult);
        if (sessionResult == 0) {
            Answer answer;
            QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", nullptr), 0);
            QCOMPARE(vexadb_send_query(client.h, "select Version from info", &answer.res), 0);
        } else {
            QVERIFY(!client.h);
        }
    }
}

void tst_VexaDb::keyAnnouncement_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("syserr");

    const QByteArray greeting = QByteArray::fromHex("11000200050000");
    QTest::newRow("a key above 1024 bits") << greeting + announcementOf(2048) << 2 << 1030;
    QTest::newRow("a key of 0 bits") << greeting + announcementOf(0) << 2 << 1030;
    QTest::newRow("an announcement cut short") << greeting + announcementOf(1024).left(100) << 1
                                               << int(ECONNRESET);
}

void tst_VexaDb::keyAnnouncement()
{
    QFETCH(QByteArray, script);
    QFETCH(int, result);
    QFETCH(int, syserr);

    ScriptedPeer peer(script);
    QVERIFY(peer.port() != 0);
    Client client;
    QCOMPARE(client.connect(peer.port()), 0);
    QCOMPARE(client.initSession(), result);
    QVERIFY(!client.h);
    QCOMPARE(client.syserr, syserr);
    // the failed set-up closed the socket
    QVERIFY(peer.clientClosed());
}

void tst_VexaDb::connectFailures_data()
{
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<QByteArray>("port");
    QTest::addColumn<int>("syserr");

    QTest::newRow("port not a number") << QByteArray("127.0.0.1") << QByteArray("smtp") << int(EINVAL);
    QTest::newRow("port 0") << QByteArray("127.0.0.1") << QByteArray("0") << int(EINVAL);
    QTest::newRow("port above 65535") << QByteArray("127.0.0.1") << QByteArray("70000") << int(EINVAL);
    QTest::newRow("port with trailing text") << QByteArray("127.0.0.1") << QByteArray("80x") << int(EINVAL);
    QTest::newRow("nothing listening") << QByteArray("127.0.0.1") << QByteArray::number(closedPort())
                                       << int(ECONNREFUSED);
}

void tst_VexaDb::connectFailures()
{
    QFETCH(QByteArray, host);
    QFETCH(QByteArray, port);
    QFETCH(int, syserr);
    int sock = -7;
    int error = 0;
    int version = 0;
    int n1 = 0;
    int n2 = 0;
    int n3 = 0;
    QCOMPARE(vexadb_connect(host.constData(), port.constData(), &sock, &error, &version, &n1, &n2, &n3), 1);
    QCOMPARE(error, syserr);
    QCOMPARE(sock, -7);
    QCOMPARE(vexadb_connect(nullptr, port.constData(), &sock, &error, &version, &n1, &n2, &n3), 3);
}

void tst_VexaDb::openConnectsAndSetsUp()
{
    vexadb_handle h = nullptr;
    int syserr = 0;
    int version = 0;
    int n1 = 0;
    int n2 = 0;
    int n3 = 0;
    const QByteArray port = QByteArray::number(m_server->port());
    QCOMPARE(vexadb_open(&h, "127.0.0.1", port.constData(), ClientName, 0, &syserr, &version, &n1, &n2, &n3), 0);
    QVERIFY(h);
    QCOMPARE((QList<int>{version, n1, n2, n3}), (QList<int>{17, 2, 5, 0}));
    QCOMPARE(vexadb_authenticate(h, "guest", "", nullptr), 0);
    QCOMPARE(vexadb_close(h), 0);

    h = nullptr;
    QCOMPARE(vexadb_open(&h, "127.0.0.1", QByteArray::number(closedPort()).constData(), ClientName, 0, &syserr,
                         &version, &n1, &n2, &n3), 1);
    QVERIFY(!h);
    QCOMPARE(syserr, ECONNREFUSED);
    QCOMPARE(vexadb_get_error(nullptr), 1);
    QCOMPARE(vexadb_close(nullptr), 0);
}

void tst_VexaDb::authentication_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("result");

    QTest::newRow("right password") << QByteArray("admin") << QByteArray("admin") << 0;
    QTest::newRow("wrong password") << QByteArray("admin") << QByteArray("nimda") << 102;
    QTest::newRow("unknown user") << QByteArray("nobody") << QByteArray("admin") << 102;
    QTest::newRow("empty password") << QByteArray("guest") << QByteArray("") << 0;
    QTest::newRow("empty user and password") << QByteArray("") << QByteArray("") << 102;
    QTest::newRow("a 254-byte user name") << QByteArray(254, 'u') << QByteArray("long") << 0;
    QTest::newRow("a 255-byte user name") << QByteArray(255, 'u') << QByteArray("long") << 3;
    QTest::newRow("a 255-byte password") << QByteArray("admin") << QByteArray(255, 'p') << 3;
    QTest::newRow("a 1000-byte password") << QByteArray("admin") << QByteArray(1000, 'p') << 3;
}

void tst_VexaDb::authentication()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, password);
    QFETCH(int, result);

    Client client;
    QCOMPARE(client.connect(m_server->port()), 0);
    QCOMPARE(client.initSession(), 0);
    unsigned authResult = 99;
    QCOMPARE(vexadb_authenticate(client.h, user.constData(), password.constData(), &authResult), result);
    Answer answer;
    switch (result) {
    case 0:
        QCOMPARE(authResult, 0u);
        QCOMPARE(sessionOf(*m_server, client.sessionId()).user, QString::fromLatin1(user));
        break;
    case 3:
        // refused before a byte was sent: the session is as it was
        QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", &authResult), 0);
        QCOMPARE(vexadb_send_query(client.h, "select Version from info", &answer.res), 0);
        break;
    case 102:
        // the server closed the connection instead of answering
        QCOMPARE(vexadb_get_error(client.h), ECONNRESET);
        QCOMPARE(vexadb_send_query(client.h, "select Version from info", &answer.res), 1);
        QCOMPARE(vexadb_get_error(client.h), ENOTCONN);
        break;
    }
}

void tst_VexaDb::refusedStatement_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<quint32>("refusal");    // 0: the server's own answer
    QTest::addColumn<quint32>("detail");
    QTest::addColumn<int>("status");

    QTest::newRow("unknown table") << "select a from nosuchtable" << 0u << 0u << 109;
    QTest::newRow("unknown column") << "select nosuchcolumn from user" << 0u << 0u << 114;
    QTest::newRow("parse error") << "selec * from user" << 0u << 0u << 106;
    QTest::newRow("refused with a detail") << "select Version from info" << 113u << 42u << 113;
    QTest::newRow("a status outside the table") << "select Version from info" << 999u << 7u << 999;
}

void tst_VexaDb::refusedStatement()
{
    QFETCH(QString, statement);
    QFETCH(quint32, refusal);
    QFETCH(quint32, detail);
    QFETCH(int, status);
    if (refusal != 0)
        QVERIFY(m_server->refuse("^select Version", refusal, 1, detail));

    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, statement.toUtf8().constData(), &answer.res), status);
    QCOMPARE(answer.res.valid, 0);
    QVERIFY(!answer.res.data);
    QCOMPARE(vexadb_get_error(client.h), int(detail));
    // the session goes on
    Answer next;
    QCOMPARE(vexadb_send_query(client.h, "select Version from info", &next.res), 0);
    QCOMPARE(next.cell(0, 0), text("5.0"));
}

void tst_VexaDb::everyTypeDecodes()
{
    m_server->setTable("every", {{"s", TypeString, true}, {"i", TypeInt, false}, {"l", TypeInt64, false},
                                 {"a", TypeIpAddr, false}, {"p", TypePort, false}, {"b", TypeBinary, false},
                                 {"d", TypeIdList, false}, {"w", TypePwd, false}, {"v", TypeVoid, false}});
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    Answer insert;
    QCOMPARE(vexadb_send_query(client.h,
                               "insert every set s='Zoë \\\\ line\\nbreak', i='-7', l='-2', a='192.168.10.20', "
                               "p='8080', b='00FF10', d='staff,,sales', w='NUL:hidden'",
                               &insert.res), 0);
    QCOMPARE(insert.res.kind, 0);
    QCOMPARE(insert.res.spare1, 1u);
    Answer nulls;
    QCOMPARE(vexadb_send_query(client.h, "insert every set s='nulls'", &nulls.res), 0);

    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select s, i, l, a, p, b, d, w, v from every", &answer.res), 0);
    QCOMPARE(answer.res.kind, 115);
    QCOMPARE(answer.res.nrows, 2u);
    QCOMPARE(int(answer.res.ncols), 9);

    const QList<int> types = {1, 2, 3, 4, 7, 6, 8, 5, 0};
    const QByteArrayList names = {"s", "i", "l", "a", "p", "b", "d", "w", "v"};
    for (int c = 0; c < types.size(); ++c) {
        vexadb_coldesc desc;
        QCOMPARE(vexadb_get_desc(&answer.res, c, &desc), 0);
        QCOMPARE(int(desc.type), types.at(c));
        QCOMPARE(int(desc.flags), c == 0 ? 1 : 0);
        QCOMPARE(QByteArray(desc.name), names.at(c));
        QCOMPARE(vexadb_get_col_idx(&answer.res, names.at(c).toUpper().constData()), c);
    }

    const QByteArrayList values = {
        text("Zoë \\ line\nbreak"), native<qint32>(-7), native<qint64>(-2),
        QByteArray("\xc0\xa8\x0a\x14", 4), be16(8080), QByteArray("\x00\xff\x10", 3),
        nativeList({"staff", "", "sales"}), text(""), QByteArray(),
    };
    // null numbers, addresses, ports and bytes are cells of length 0; an
    // empty list is its end word alone
    const QByteArrayList nullValues = {
        text("nulls"), QByteArray(), QByteArray(), QByteArray(), QByteArray(), QByteArray(),
        native<quint32>(0), text(""), QByteArray(),
    };
    for (int c = 0; c < values.size(); ++c) {
        QCOMPARE(answer.cell(0, c), values.at(c));
        QCOMPARE(answer.cell(1, c), nullValues.at(c));
    }

    // the list reads back as text through the value layer
    char list[64];
    QVERIFY(vexadb_val2str(VEXADB_IDLIST, list, sizeof list, answer.cell(0, 6).constData(),
                           answer.cell(0, 6).size()) > 0);
    QCOMPARE(QByteArray(list), QByteArray("staff,,sales"));
}

void tst_VexaDb::longStatements_data()
{
    QTest::addColumn<int>("length");  // of the description; the statement adds 47 bytes
    QTest::newRow("header and text fill the send buffer exactly") << 4096 - 12 - 48;
    QTest::newRow("one byte more") << 4096 - 12 - 47;
    QTest::newRow("a 5000-byte statement") << 5000 - 47;
    QTest::newRow("several buffers") << 20000;
    QTest::newRow("many chunks") << 300000;
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
    QCOMPARE(update.res.spare1, 1u);
    QCOMPARE(m_server->journal(client.sessionId()).last().toLatin1(), statement);

    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select description from user where name='bob'", &answer.res), 0);
    QByteArray buffer(length + 1, '\0');
    int len = buffer.size();
    QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer.data(), &len), 0);
    QCOMPARE(len, length + 1);
    QCOMPARE(buffer, text(description));
}

void tst_VexaDb::shortBuffer()
{
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select name, qstorage from user where name='alice'", &answer.res), 0);
    QByteArray buffer(16, '\x5a');
    int len = 3;
    QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer.data(), &len), 112);
    QCOMPARE(len, 6);
    QCOMPARE(buffer, QByteArray(16, '\x5a'));
    len = -1;  // holds nothing
    QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer.data(), &len), 112);
    QCOMPARE(len, 6);
    QCOMPARE(buffer, QByteArray(16, '\x5a'));
    QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer.data(), &len), 0);
    QCOMPARE(len, 6);
    QCOMPARE(buffer.left(6), text("alice"));
    QCOMPARE(buffer.mid(6), QByteArray(10, '\x5a'));
    len = 7;
    QCOMPARE(vexadb_read_result(&answer.res, 0, 1, buffer.data(), &len), 112);
    QCOMPARE(len, 8);
    QCOMPARE(vexadb_read_result(&answer.res, 0, 1, buffer.data(), &len), 0);
    QCOMPARE(buffer.left(8), native<qint64>(209715200));

    // a cell of length 0 copies nothing
    m_server->setTable("sparse", {{"k", TypeString, true}, {"n", TypeInt, false}}, {{"x", ""}});
    Answer sparse;
    QCOMPARE(vexadb_send_query(client.h, "select n from sparse", &sparse.res), 0);
    buffer.fill('\x5a');
    len = 0;
    QCOMPARE(vexadb_read_result(&sparse.res, 0, 0, buffer.data(), &len), 0);
    QCOMPARE(len, 0);
    QCOMPARE(buffer, QByteArray(16, '\x5a'));
}

void tst_VexaDb::otherKindHasNoRows()
{
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "insert alias set lhs='sales', rhs='x', domain='kind.example'",
                               &answer.res), 0);
    QCOMPARE(answer.res.valid, 1);
    QCOMPARE(answer.res.kind, 0);
    QCOMPARE(answer.res.spare1, 1u);
    char buffer[8];
    int len = sizeof buffer;
    QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer, &len), 3);
    vexadb_coldesc desc;
    QCOMPARE(vexadb_get_desc(&answer.res, 0, &desc), 3);
    QCOMPARE(vexadb_get_col_idx(&answer.res, "lhs"), -1);
    QCOMPARE(vexadb_free_result(&answer.res), 0);
    QCOMPARE(answer.res.valid, 0);
}

void tst_VexaDb::updateDatagrams_data()
{
    QTest::addColumn<QByteArrayList>("pushed");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArrayList>("delivered");

    const QByteArray last("\x11" "last", 5);
    QByteArray fill(1499, Qt::Uninitialized);
    for (int i = 0; i < fill.size(); ++i)
        fill[i] = char(i);
    QTest::newRow("two in order") << QByteArrayList{"\x11" "first", "\x11" "second"} << 1500
                                  << QByteArrayList{"first", "second"};
    QTest::newRow("the version byte alone is dropped") << QByteArrayList{"\x11", last} << 1500
                                                       << QByteArrayList{"last"};
    QTest::newRow("another version is dropped") << QByteArrayList{"\x10" "older", last} << 1500
                                                << QByteArrayList{"last"};
    QTest::newRow("exactly the receive buffer") << QByteArrayList{"\x11" + fill, last} << 1500
                                                << QByteArrayList{fill, "last"};
    QTest::newRow("longer than the receive buffer is dropped") << QByteArrayList{"\x11" + fill + "x", last}
                                                               << 4000 << QByteArrayList{"last"};
    QTest::newRow("far longer is dropped") << QByteArrayList{"\x11" + fill + fill + fill, last} << 8000
                                           << QByteArrayList{"last"};
    QTest::newRow("longer than the capacity is dropped") << QByteArrayList{"\x11" + fill.left(100), "\x11" + fill.left(99)}
                                                         << 100 << QByteArrayList{fill.left(99)};
}

void tst_VexaDb::updateDatagrams()
{
    QFETCH(QByteArrayList, pushed);
    QFETCH(int, capacity);
    QFETCH(QByteArrayList, delivered);

    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    QVERIFY(m_server->waitForRegistration(client.sessionId(), 5000));
    for (const QByteArray &datagram : pushed)
        QCOMPARE(m_server->pushDatagram(datagram, client.sessionId()), 1);
    // The last one pushed is always delivered: once it is, every datagram
    // before it has arrived and was consumed.
    QCOMPARE(collectDatagrams(client.h, capacity, delivered.size()), delivered);
    QCOMPARE(collectDatagrams(client.h, capacity, 1, 50), QByteArrayList());
}

void tst_VexaDb::noUpdateChannel()
{
    Client client;
    QCOMPARE(client.connect(m_server->port()), 0);
    QCOMPARE(client.initSession(ClientName, 0), 0);
    QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", nullptr), 0);
    QVERIFY(!m_server->waitForRegistration(client.sessionId(), 200));
    QCOMPARE(m_server->pushDatagram("\x11" "nobody listens", client.sessionId()), 0);
    char buffer[16];
    int len = sizeof buffer;
    QCOMPARE(vexadb_getupdatedata(client.h, buffer, &len), 0);
    QCOMPARE(len, 0);
    len = sizeof buffer;
    QCOMPARE(vexadb_getupdatedata(nullptr, buffer, &len), 0);
    QCOMPARE(len, 0);
}

void tst_VexaDb::hostileAnswers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    for (const HostileAnswer &row : vexablocks::hostileAnswers())
        QTest::newRow(row.name) << row.bytes << row.expected;
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
    Answer next;
    if (expected == 0) {
        QCOMPARE(answer.res.valid, 1);
        QCOMPARE(vexadb_send_query(client.h, "select Version from info", &next.res), 0);
        QCOMPARE(next.cell(0, 0), text("5.0"));
        return;
    }
    QCOMPARE(answer.res.valid, 0);
    QVERIFY(!answer.res.data);
    // The session counts as lost: a later statement fails at once, without
    // reading a stream that may be out of step, and the server sees it end.
    QCOMPARE(vexadb_send_query(client.h, "select Version from info", &next.res), 1);
    QCOMPARE(vexadb_get_error(client.h), ENOTCONN);
    QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", nullptr), 1);
    QTRY_VERIFY(!sessionOf(*m_server, client.sessionId()).connected);
}

void tst_VexaDb::silentServerTimesOut()
{
    QVERIFY(m_server->silence("^select LogList", 1));
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    QCOMPARE(vexadb_set_receive_timeout(client.h, 1), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select LogList()", &answer.res), 1);
    QVERIFY(vexadb_get_error(client.h) == EAGAIN || vexadb_get_error(client.h) == EWOULDBLOCK);
    QCOMPARE(answer.res.valid, 0);
    // an answer that may still come would be out of step: the session is over
    Answer next;
    QCOMPARE(vexadb_send_query(client.h, "select Version from info", &next.res), 1);
    QCOMPARE(vexadb_get_error(client.h), ENOTCONN);
    QTRY_VERIFY(!sessionOf(*m_server, client.sessionId()).connected);
    QCOMPARE(vexadb_set_receive_timeout(nullptr, 1), 3);
}

void tst_VexaDb::closedPeerDuringRead()
{
    QVERIFY(m_server->dropAt("^delete", 1));
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "delete from alias where lhs='nobody'", &answer.res), 1);
    QCOMPARE(vexadb_get_error(client.h), ECONNRESET);
    QCOMPARE(answer.res.valid, 0);
}

void tst_VexaDb::closedPeerDuringSend()
{
    // A server that went away while the session was idle: the first piece of
    // a long statement is accepted by the system, the next meets the reset
    // connection (EPIPE, which raises SIGPIPE unless the send says otherwise).
    {
        ServerOptions options;
        options.port = 0;
        TestServer server(options);
        QVERIFY(server.start());
        Client client;
        QCOMPARE(client.open(server.port()), 0);
        server.stop();
        const QByteArray statement(100000, 'y');
        Answer answer;
        QCOMPARE(vexadb_send_query(client.h, statement.constData(), &answer.res), 1);
        const int error = vexadb_get_error(client.h);
        QVERIFY2(error == EPIPE || error == ECONNRESET, qPrintable(QString::number(error)));
    }

    // The server gives up on a statement longer than it accepts as soon as it
    // has read the length: the client is still sending into a closed peer.
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    const QByteArray statement(65 << 20, 'x');
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, statement.constData(), &answer.res), 1);
    const int error = vexadb_get_error(client.h);
    QVERIFY2(error == EPIPE || error == ECONNRESET, qPrintable(QString::number(error)));
    QCOMPARE(answer.res.valid, 0);
}

void tst_VexaDb::rawAnswersParseAsTheClientDoes()
{
    // Captures answers as they arrive and parses them over a plain buffer, as
    // the fuzz target does: the result must be the one the socket path gives.
    // With ORNEL_CAPTURE_CORPUS set to a folder, the answers and a few update
    // datagrams are written there as the fuzz targets' seed corpus.
    const QByteArray corpus = qgetenv("ORNEL_CAPTURE_CORPUS");
    m_server->setTable("every2", {{"s", TypeString, true}, {"i", TypeInt, false}, {"l", TypeInt64, false},
                                  {"a", TypeIpAddr, false}, {"p", TypePort, false}, {"b", TypeBinary, false},
                                  {"d", TypeIdList, false}, {"w", TypePwd, false}},
                       {{"one", "-1", "5", "10.1.2.3", "25", "00ff", "a,b", "x"},
                        {"two", "", "", "", "", "", "", ""}});
    const QByteArrayList statements = {
        "select name, qstorage, groups, password, account_enabled from user",
        "select s, i, l, a, p, b, d, w from every2",
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
            QDir().mkpath(QString::fromLocal8Bit(corpus) + "/answer");
            QFile file(QStringLiteral("%1/answer/server-%2").arg(QString::fromLocal8Bit(corpus)).arg(index, 2, 10, QChar(u'0')));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        ++index;
    }
    if (!corpus.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(corpus) + "/datagram");
        const QList<QPair<quint16, QByteArray>> datagrams = {
            {1500, QByteArray(1, '\x11') + TestServer::logUpdateRecord(3, 0, 120)},
            {1500, QByteArray(1, '\x11') + TestServer::logUpdateRecord(0, 4, 4)},
            {1500, QByteArray(1, '\x11')},
            {8, QByteArray("\x10" "older", 6)},
        };
        int n = 0;
        for (const auto &[capacity, datagram] : datagrams) {
            QFile file(QStringLiteral("%1/datagram/seed-%2").arg(QString::fromLocal8Bit(corpus)).arg(n++));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(be16(capacity) + datagram);
        }
    }
}

QTEST_GUILESS_MAIN(tst_VexaDb)
#include "tst_vexadb.moc"
