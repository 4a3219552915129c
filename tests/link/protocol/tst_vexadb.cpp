// The protocol client end to end against the stand-in server on loopback, and against
// a server that misbehaves.

#include "testserver.h"
#include "vexadb.h"
#include "vexadbblocks.h"
#include "vexadbparse_p.h"
#include "vexadbsocket_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

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
    int num[3] = {-1, -1, -1};

    ~Client()
    {
        if (h)
            vexadb_close(h);
        else if (sock >= 0)
            close(sock);
    }
    int connect(quint16 port, const char *host = "127.0.0.1")
    {
        return vexadb_connect(host, QByteArray::number(port).constData(), &sock, &syserr, &version, &num[0],
                              &num[1], &num[2]);
    }
    int initSession(const char *name = ClientName)
    {
        const int result = vexadb_initsession(&h, sock, name, 1, &syserr);
        sock = -1;  // the session owns it now, or closed it
        return result;
    }
    // Connects, sets up and logs in; the first failing code.
    int open(quint16 port, int udp = 1)
    {
        if (const int failed = vexadb_open(&h, "127.0.0.1", QByteArray::number(port).constData(), ClientName, udp,
                                           &syserr, &version, &num[0], &num[1], &num[2]))
            return failed;
        return vexadb_authenticate(h, "admin", "admin", nullptr);
    }
    quint32 sessionId() const { return cl_get(h)->session; }
    QList<int> numbers() const { return {num[0], num[1], num[2]}; }
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
        return vexadb_read_result(&res, row, col, buffer.data(), &len) == 0 ? buffer.left(len) : "<error>";
    }
};

// Parses an answer's block over a buffer of exactly its size; the parse's result.
int parseOverPlainBuffer(const QByteArray &answerBytes)
{
    Answer parsed;
    const QByteArray block = answerBytes.mid(VEXADB_ANSWER_HEADER);
    auto *data = static_cast<unsigned char *>(malloc(size_t(qMax<qsizetype>(block.size(), 1))));
    memcpy(data, block.constData(), size_t(block.size()));
    return vexadb_parse_block(&parsed.res, data, uint32_t(block.size()));
}

// A small statement on the session: its status, or -1 when its answer is wrong.
int askVersion(vexadb_handle h)
{
    Answer answer;
    const int status = vexadb_send_query(h, "select Version from info", &answer.res);
    return status != 0 ? status : (answer.cell(0, 0) == text("5.0") ? 0 : -1);
}

SessionInfo sessionOf(const TestServer &server, quint32 id)
{
    for (const SessionInfo &info : server.sessions()) {
        if (info.id == id)
            return info;
    }
    return SessionInfo();
}

// Polls the update channel with buffers of `capacity` bytes until `count` datagrams were
// delivered or the time is up; a write past the capacity shows as "<overrun>".
QByteArrayList collectDatagrams(vexadb_handle h, int capacity, int count, int timeoutMs = 5000)
{
    QByteArrayList delivered;
    QElapsedTimer clock;
    clock.start();
    while (delivered.size() < count && clock.elapsed() < timeoutMs) {
        QByteArray buffer(4096, '\x5a');
        int len = capacity;
        if (vexadb_getupdatedata(h, buffer.data(), &len) != 0)
            break;
        if (buffer.mid(qMax(len, 0)) != QByteArray(4096 - qMax(len, 0), '\x5a'))
            delivered.append("<overrun>");
        else if (len > 0)
            delivered.append(buffer.left(len));
        else
            QThread::msleep(5);
    }
    return delivered;
}

// How the server misbehaves on a statement: sends given bytes, stays silent, closes the
// connection, or spoils its own answer.
enum Misbehaviour { Sends, Silent, Drops, OneRowTooMany, CutsShort };

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
    void connectFailures();

    void everyTypeDecodes();
    void longStatementAndShortBuffer();
    void updateDatagrams_data();
    void updateDatagrams();

    void answers_data();
    void answers();
    void slowAnswers_data();
    void slowAnswers();
    void rawAnswersParseOverAPlainBuffer();

private:
    std::unique_ptr<TestServer> m_server;
};

void tst_VexaDb::initTestCase()
{
    // A send to a closed peer must fail, never raise SIGPIPE (which would end this test).
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
                       {{"Zoë \\ line\nbreak", "-7", "-2", "192.168.10.20", "8080", "00ff10", "staff,,sales",
                         "hidden", ""}, {"nulls", "", "", "", "", "", "", "", ""}});
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
    // Their lengths travel in one byte.
    QTest::newRow("a 254-byte user name") << ip << name << QByteArray(254, 'u') << QByteArray("long") << 0;
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
    QCOMPARE(QList<int>{client.version} + client.numbers(), (QList<int>{17, 2, 5, 0}));
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
    QTest::addColumn<int>("connectResult");
    QTest::addColumn<int>("sessionResult");  // -1: not tried
    QTest::addColumn<int>("syserr");         // ECONNRESET: the server closes after its bytes
    QTest::addColumn<QList<int>>("numbers");

    const QByteArray greeting = QByteArray::fromHex("11000200050000");
    const QList<int> none{-1, -1, -1};
    const QList<int> usual{2, 5, 0};
    const QByteArray announcement2048 = be32(2048) + QByteArray(128, '\xc5') + be32(3).rightJustified(128, '\0');
    QTest::newRow("split across segments") << QByteArray::fromHex("11ffff00040009") << QList<int>{1, 3, 5}
                                           << 0 << 0 << 0 << QList<int>{65535, 4, 9};
    QTest::newRow("version 16") << QByteArray::fromHex("10000200050000") << QList<int>() << 103 << -1 << 0 << none;
    QTest::newRow("cut after the version byte") << QByteArray::fromHex("11") << QList<int>() << 1 << -1
                                                << int(ECONNRESET) << none;
    QTest::newRow("a key above 1024 bits") << greeting + announcement2048 << QList<int>() << 0 << 2 << 1030 << usual;
    QTest::newRow("an announcement cut short") << greeting + announcement2048.left(100) << QList<int>() << 0
                                               << 1 << int(ECONNRESET) << usual;
}

void tst_VexaDb::greetings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, pauseAt);
    QFETCH(int, connectResult);
    QFETCH(int, sessionResult);
    QFETCH(int, syserr);
    QFETCH(QList<int>, numbers);

    GreetingPlan plan;
    plan.bytes = bytes;
    plan.pauseAt = pauseAt;
    plan.pauseMs = 60;
    plan.closeAfter = syserr == ECONNRESET;
    m_server->setGreeting(plan);
    const int sessionsBefore = m_server->sessions().size();

    Client client;
    QCOMPARE(client.connect(m_server->port()), connectResult);
    QCOMPARE(client.numbers(), numbers);
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
    if (syserr != ECONNRESET) {
        // the client closed its end: the server sees the session end
        QTRY_COMPARE(m_server->sessions().size(), sessionsBefore + 1);
        QTRY_VERIFY(!m_server->sessions().last().connected);
    }
}

void tst_VexaDb::connectFailures()
{
    Client c;
    for (const char *port : {"smtp", "0", "70000", "80x"}) {
        QCOMPARE(vexadb_open(&c.h, "127.0.0.1", port, ClientName, 1, &c.syserr, &c.version, &c.num[0], &c.num[1],
                             &c.num[2]), 1);
        QVERIFY(!c.h);
        QCOMPARE(c.syserr, int(EINVAL));
    }
    QCOMPARE(vexadb_connect(nullptr, "1", &c.sock, &c.syserr, &c.version, &c.num[0], &c.num[1], &c.num[2]), 3);
    QCOMPARE(c.sock, -1);
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
        be16(8080), QByteArray("\x00\xff\x10", 3), list({"staff", "", "sales"}), text(""), QByteArray()};
    // null numbers, addresses, ports and bytes are cells of length 0; an empty list is its end word alone
    const QByteArrayList nullValues = {text("nulls"), {}, {}, {}, {}, {}, native<quint32>(0), text(""), {}};
    for (int c = 0; c < values.size(); ++c) {
        QCOMPARE(answer.cell(0, c), values.at(c));
        QCOMPARE(answer.cell(1, c), nullValues.at(c));
    }
    int empty = 0;  // a cell of length 0 fits any buffer
    QCOMPARE(vexadb_read_result(&answer.res, 1, 1, nullptr, &empty), 0);

    // Indexes outside the answer are refused, the buffer length left alone.
    for (const auto &[row, col] : {std::pair(-1, 0), std::pair(2, 0), std::pair(0, -1), std::pair(0, 9)}) {
        char buffer[16];
        int len = sizeof buffer;
        QCOMPARE(vexadb_read_result(&answer.res, row, col, buffer, &len), 3);
        QCOMPARE(len, int(sizeof buffer));
        vexadb_coldesc desc;
        if (row == 0) {
            QCOMPARE(vexadb_get_desc(&answer.res, col, &desc), 3);
            QCOMPARE(vexadb_sort_result(&answer.res, col), 3);
            QCOMPARE(vexadb_result_find(&answer.res, col, "nulls"), -1);
        }
    }
    QCOMPARE(vexadb_free_result(&answer.res), 0);
    QCOMPARE(vexadb_free_result(&answer.res), 0);  // a second release does nothing
    QCOMPARE(vexadb_read_result(&answer.res, 0, 0, nullptr, &empty), 3);
}

void tst_VexaDb::longStatementAndShortBuffer()
{
    const int length = 5000 - 47;  // a 5000-byte statement: more than the send buffer holds
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
    QByteArray buffer(5000, '\x5a');
    for (int len : {3, -1}) {  // too short: the length needed, the buffer untouched; a negative one holds nothing
        QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer.data(), &len), 112);
        QCOMPARE(len, length + 1);
        QCOMPARE(buffer, QByteArray(5000, '\x5a'));
    }
    int len = length + 1;
    QCOMPARE(vexadb_read_result(&answer.res, 0, 0, buffer.data(), &len), 0);
    QCOMPARE(buffer, text(description) + QByteArray(5000 - len, '\x5a'));
}

void tst_VexaDb::updateDatagrams_data()
{
    QTest::addColumn<int>("udp");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArrayList>("pushed");
    QTest::addColumn<QByteArrayList>("delivered");

    const QByteArray last("\x11" "last", 5);
    const QByteArray fill(1500, 'f');
    QTest::newRow("two in order") << 1 << 4000 << QByteArrayList{"\x11" "first", "\x11" "second"}
                                  << QByteArrayList{"first", "second"};
    QTest::newRow("the version byte alone is dropped") << 1 << 4000 << QByteArrayList{"\x11", last}
                                                       << QByteArrayList{"last"};
    QTest::newRow("another version is dropped") << 1 << 4000 << QByteArrayList{"\x10" "older", last}
                                                << QByteArrayList{"last"};
    // Dropped whole, never delivered cut.
    QTest::newRow("the receive buffer exactly, then one byte more")
        << 1 << 4000 << QByteArrayList{"\x11" + fill.left(1499), "\x11" + fill, last}
        << QByteArrayList{fill.left(1499), "last"};
    QTest::newRow("the capacity exactly (version byte included), then one byte more")
        << 1 << 100 << QByteArrayList{"\x11" + fill.left(99), "\x11" + fill.left(100), last}
        << QByteArrayList{fill.left(99), "last"};
    QTest::newRow("a negative capacity holds nothing") << 1 << -5 << QByteArrayList{"\x11" "AB"} << QByteArrayList{};
    QTest::newRow("no update channel") << 0 << 4000 << QByteArrayList{last} << QByteArrayList{};
}

void tst_VexaDb::updateDatagrams()
{
    QFETCH(int, udp);
    QFETCH(int, capacity);
    QFETCH(QByteArrayList, pushed);
    QFETCH(QByteArrayList, delivered);

    Client client;
    QCOMPARE(client.open(m_server->port(), udp), 0);
    QCOMPARE(m_server->waitForRegistration(client.sessionId(), udp ? 5000 : 200), bool(udp));
    for (const QByteArray &datagram : pushed)
        QCOMPARE(m_server->pushDatagram(datagram, client.sessionId()), udp);
    // The last one pushed is delivered where any is: once it is, every one before it was consumed.
    QCOMPARE(collectDatagrams(client.h, capacity, delivered.size()), delivered);
    QCOMPARE(collectDatagrams(client.h, capacity, 1, 50), QByteArrayList());
}

void tst_VexaDb::answers_data()
{
    QTest::addColumn<int>("misbehaviour");
    QTest::addColumn<QByteArray>("bytes");  // the answer sent
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("error");         // the session's last error after it

    // What the session makes of refusals and failures (malformed blocks: tst_vexadbparse).
    const QByteArray good = block(twoRows());
    QTest::newRow("a well-formed row set") << int(Sends) << answer(good) << 0 << 0;
    QTest::newRow("refused with a detail") << int(Sends) << be32(0) + be32(0) + be32(109) + be32(42) << 109 << 42;
    QTest::newRow("a status outside the table") << int(Sends) << be32(0) + be32(0) + be32(999) + be32(7) << 999 << 7;
    // A block read whole but refused leaves the stream in step; one left unread does not.
    QTest::newRow("NR one more than the rows sent") << int(Sends) << answer(good.left(4) + be32(3) + good.mid(8))
                                                    << 2 << int(EBADMSG);
    QTest::newRow("the server's row set, NR one too many") << int(OneRowTooMany) << QByteArray() << 2 << int(EBADMSG);
    QTest::newRow("D above the limit") << int(Sends) << answer({}, (256 << 20) + 1) << 1 << int(EMSGSIZE);
    QTest::newRow("half the answer, then closed") << int(CutsShort) << QByteArray() << 1 << int(ECONNRESET);
    QTest::newRow("a silent server times out") << int(Silent) << QByteArray() << 1 << int(EAGAIN);
    QTest::newRow("closed while answering") << int(Drops) << QByteArray() << 1 << int(ECONNRESET);
}

void tst_VexaDb::answers()
{
    QFETCH(int, misbehaviour);
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QFETCH(int, error);
    const QString hostile = QStringLiteral("^select lhs, rhs from alias");
    switch (misbehaviour) {
    case Sends: QVERIFY(m_server->answerRaw(hostile, bytes, 1)); break;
    case Silent: QVERIFY(m_server->silence(hostile, 1)); break;
    case Drops: QVERIFY(m_server->dropAt(hostile, 1)); break;
    case OneRowTooMany: QVERIFY(m_server->malformAnswer(hostile, Malformed::RowCountBeyondBlock, 1)); break;
    case CutsShort: QVERIFY(m_server->malformAnswer(hostile, Malformed::CutShort, 1)); break;
    }

    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    if (misbehaviour == Silent)
        QCOMPARE(vexadb_set_receive_timeout(client.h, 1), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, "select lhs, rhs from alias", &answer.res), expected);
    QCOMPARE(answer.res.valid, expected == 0);
    QCOMPARE(!answer.res.data, expected != 0);
    if (expected != 0)
        QCOMPARE(vexadb_get_error(client.h), error);
    if (expected != 1) {
        // Accepted, refused with a status and a detail but no block, or refused as
        // malformed after its whole block: the session goes on.
        QCOMPARE(askVersion(client.h), 0);
        return;
    }
    // Lost: a later statement fails at once, never reading a stream out of step.
    QCOMPARE(askVersion(client.h), 1);
    QCOMPARE(vexadb_get_error(client.h), ENOTCONN);
    QCOMPARE(vexadb_authenticate(client.h, "admin", "admin", nullptr), 1);
    QTRY_VERIFY(!sessionOf(*m_server, client.sessionId()).connected);
}

void tst_VexaDb::slowAnswers_data()
{
    QTest::addColumn<QByteArray>("statement");
    QTest::addColumn<int>("bytesPerStep");
    QTest::addColumn<int>("stepMs");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("rows");

    // With a receive time-out of one second: within each second an answer must bring
    // VEXADB_PROGRESS_FLOOR bytes, or all of itself.
    const QByteArray version("select Version from info");
    const QByteArray bulk("select s from bulk");
    QTest::newRow("a byte each tenth of a second has stalled") << version << 1 << 100 << 1 << 0;
    QTest::newRow("a kilobyte each 400 ms has stalled") << bulk << 1024 << 400 << 1 << 0;
    QTest::newRow("a short answer complete within the time-out") << version << 16 << 100 << 0 << 1;
    QTest::newRow("a large answer over a slow link") << bulk << 8192 << 250 << 0 << 200;
    // Exactly the floor, then a pause of most of the time-out, four times over (48 rows make
    // some 15 kB): each span brings its floor, so the answer is slow but alive. Two pauses
    // together outlast the time-out, so a span counted past its floor would stall.
    QTest::newRow("the floor exactly, then a pause, each step")
        << QByteArray("select s from paced") << VEXADB_PROGRESS_FLOOR << 600 << 0 << 48;
}

// A server that sends a byte now and then never lets a single receive time out: the
// session holds it to a floor of progress, and gives up as on a silent server.
void tst_VexaDb::slowAnswers()
{
    QFETCH(QByteArray, statement);
    QFETCH(int, bytesPerStep);
    QFETCH(int, stepMs);
    QFETCH(int, expected);
    QFETCH(int, rows);
    QList<QStringList> bulk;
    for (int r = 0; r < 200; ++r)
        bulk.append({QStringLiteral("%1 ").arg(r, 3, 10, QLatin1Char('0')) + QString(300, u'x')});
    m_server->setTable("bulk", {{"s", TypeString, true}}, bulk);
    m_server->setTable("paced", {{"s", TypeString, true}}, bulk.mid(0, 48));
    QVERIFY(m_server->trickle(QRegularExpression::escape(QString::fromLatin1(statement)), bytesPerStep, stepMs, 1));

    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    QCOMPARE(vexadb_set_receive_timeout(client.h, 1), 0);
    Answer answer;
    QCOMPARE(vexadb_send_query(client.h, statement.constData(), &answer.res), expected);
    if (expected != 0) {
        QCOMPARE(vexadb_get_error(client.h), int(EAGAIN));
        QCOMPARE(askVersion(client.h), 1);
        return;
    }
    QCOMPARE(int(answer.res.nrows), rows);
    QCOMPARE(answer.cell(rows - 1, 0).left(4),
             rows == 1 ? QByteArray("5.0") + '\0' : QByteArray::number(rows - 1).rightJustified(3, '0') + ' ');
    QCOMPARE(askVersion(client.h), 0);
}

void tst_VexaDb::rawAnswersParseOverAPlainBuffer()
{
    // Answers as captured parse over a plain buffer, as the fuzz target feeds them. With
    // ORNEL_CAPTURE_CORPUS set to a folder, they and a few datagrams become its seed corpus.
    const QString corpus = qEnvironmentVariable("ORNEL_CAPTURE_CORPUS");
    auto save = [&](const QString &name, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(corpus + name).path());
        QFile file(corpus + name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const QByteArrayList statements = {
        "select name, qstorage, groups, password, account_enabled from user",
        "select s, i, l, a, p, b, d, w, v from every", "select lhs, rhs, domain from alias",
        "select Version from info", "select LogList()", "select get_auth_types()",
        "update user set description='corpus' where name='alice'", "select nosuchcolumn from user"};
    Client client;
    QCOMPARE(client.open(m_server->port()), 0);
    for (int i = 0; i < statements.size(); ++i) {
        const QByteArray bytes = rawAnswer(client.h, statements.at(i));
        QVERIFY(bytes.size() >= VEXADB_ANSWER_HEADER);
        vexadb_answer_header header;
        vexadb_decode_answer_header(reinterpret_cast<const unsigned char *>(bytes.constData()), &header);
        QCOMPARE(int(header.status), i == statements.size() - 1 ? 114 : 0);
        if (header.status == 0)
            QCOMPARE(parseOverPlainBuffer(bytes), 0);
        if (!corpus.isEmpty())
            QVERIFY(save(QStringLiteral("/answer/server-%1").arg(i, 2, 10, QChar(u'0')), bytes));
    }
    // Forms the server above never sends but may: another kind of its fixed fields alone,
    // and rows without columns.
    const QByteArrayList forms = {answer(block(BlockParts{4, 0, 0, 1, {}, -1, {}}).left(16)),
                                  answer(block(BlockParts{4, 115, 0, 3, {}, -1, {}}))};
    for (int i = 0; i < forms.size(); ++i) {
        QCOMPARE(parseOverPlainBuffer(forms.at(i)), 0);
        if (!corpus.isEmpty())
            QVERIFY(save(QStringLiteral("/answer/form-%1").arg(i, 2, 10, QChar(u'0')), forms.at(i)));
    }
    if (corpus.isEmpty())
        return;
    // Each datagram seed starts with the receive capacity, big-endian.
    const QByteArrayList datagrams = {be16(1500) + '\x11' + TestServer::logUpdateRecord(3, 0, 120),
                                      be16(1500) + '\x11' + TestServer::logUpdateRecord(0, 4, 4),
                                      be16(1500) + '\x11', be16(8) + QByteArray("\x10" "older", 6)};
    for (int n = 0; n < datagrams.size(); ++n)
        QVERIFY(save(QStringLiteral("/datagram/seed-%1").arg(n), datagrams.at(n)));
}

QTEST_GUILESS_MAIN(tst_VexaDb)
#include "tst_vexadb.moc"
