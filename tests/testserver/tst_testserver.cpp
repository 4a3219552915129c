#include "refclient.h"
#include "testserver.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace StandIn;

namespace {

std::unique_ptr<TestServer> startServer(ServerOptions options = ServerOptions())
{
    options.port = 0;
    auto server = std::make_unique<TestServer>(options);
    QString error;
    if (!server->start(&error))
        qFatal("the stand-in server did not start: %s", qPrintable(error));
    return server;
}

SessionInfo sessionOf(const TestServer &server, quint32 id)
{
    for (const SessionInfo &info : server.sessions()) {
        if (info.id == id)
            return info;
    }
    return SessionInfo();
}

QString describeColumns(const RefClient::Answer &answer)
{
    QStringList parts;
    for (const RefClient::ColumnInfo &c : answer.columns)
        parts.append(QStringLiteral("%1:%2:%3").arg(c.name).arg(c.type).arg(c.flags));
    return parts.join(u'|');
}

QByteArray logRecord(const TestServer &server, const QString &log)
{
    LogExtent extent;
    server.logExtent(log, &extent);
    return QByteArray(1, '\x11') + TestServer::logUpdateRecord(extent.id, extent.first, extent.end);
}

} // namespace

class tst_TestServer : public QObject
{
    Q_OBJECT

private slots:
    void handshakeRecordsTheSession();
    void authentication_data();
    void authentication();
    void malformedKeyBlockClosesTheConnection_data();
    void malformedKeyBlockClosesTheConnection();
    void selectAnswersByColumnType();
    void insertThenSelect();
    void everyTypeSurvivesARoundTrip();
    void longStatement();
    void refusals_data();
    void refusals();
    void refuseControl();
    void delayControl();
    void dropControl();
    void silenceControl();
    void rawAnswerControl();
    void greetings_data();
    void greetings();
    void datagrams();
    void datagramToOneSession();
    void logChangesAreAnnounced();
    void journalPerSession();
    void journalFile();
    void concurrentSessions();
    void stopEndsEverySession();
};

void tst_TestServer::handshakeRecordsTheSession()
{
    auto server = startServer();
    RefClient client;
    QVERIFY(client.connectTo(server->port()));
    QByteArray greeting;
    QVERIFY(client.readGreeting(&greeting));
    QCOMPARE(greeting.toHex(), QByteArray("11000200050000"));
    QVERIFY(client.readAnnouncement());
    QCOMPARE(client.keyBits(), 1024);
    QVERIFY(quint8(client.modulus().at(0)) & 0x80);                      // a full 1024-bit modulus
    QCOMPARE(client.exponent().right(3).toHex(), QByteArray("010001"));
    QCOMPARE(client.exponent().left(125), QByteArray(125, '\0'));        // padded with leading zeros
    QVERIFY(client.sendSessionKey());
    QVERIFY(client.sendIdentification("Ornel Admin 5.0 (Linux)"));
    QVERIFY(client.readSessionId());
    QVERIFY(client.registerUpdates(server->port()));
    quint32 result = 1;
    QVERIFY(client.authenticate("admin", "admin", &result));
    QCOMPARE(result, 0u);

    QVERIFY(server->waitForRegistration(client.sessionId(), 5000));
    const SessionInfo info = sessionOf(*server, client.sessionId());
    QCOMPARE(info.id, client.sessionId());
    QCOMPARE(info.identification, QStringLiteral("Ornel Admin 5.0 (Linux)"));
    QCOMPARE(info.user, QStringLiteral("admin"));
    QVERIFY(info.authenticated);
    QVERIFY(info.connected);
    QVERIFY(info.registered);
    QVERIFY(info.updateAddress.startsWith(QStringLiteral("127.0.0.1:")));

    RefClient second;
    QVERIFY(second.handshake(server->port()));
    QVERIFY(second.sessionId() != client.sessionId());
}

void tst_TestServer::authentication_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("default account") << QByteArray("admin") << QByteArray("admin") << true;
    QTest::newRow("wrong password") << QByteArray("admin") << QByteArray("Admin") << false;
    QTest::newRow("unknown user") << QByteArray("nobody") << QByteArray("admin") << false;
    QTest::newRow("empty user and password") << QByteArray() << QByteArray() << false;
    QTest::newRow("configured account") << QByteArray("ops") << QByteArray("s3cret pass") << true;
    QTest::newRow("configured account, empty password") << QByteArray("guest") << QByteArray() << true;
    QTest::newRow("password with a prefix of the right one") << QByteArray("ops") << QByteArray("s3cret") << false;
}

void tst_TestServer::authentication()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, password);
    QFETCH(bool, accepted);

    auto server = startServer();
    server->setAccount("ops", "s3cret pass");
    server->setAccount("guest", "");
    RefClient client;
    QByteArray greeting;
    QVERIFY(client.connectTo(server->port()) && client.readGreeting(&greeting) && client.readAnnouncement()
            && client.sendSessionKey() && client.sendIdentification("test") && client.readSessionId());
    // A refused login is answered by closing the connection, without a word.
    QCOMPARE(client.authenticate(user, password), accepted);
    QTRY_COMPARE(sessionOf(*server, client.sessionId()).authenticated, accepted);
    if (!accepted)
        QTRY_VERIFY(!sessionOf(*server, client.sessionId()).connected);
}

void tst_TestServer::malformedKeyBlockClosesTheConnection_data()
{
    QTest::addColumn<QByteArray>("key");   // sent properly enciphered when not empty
    QTest::addColumn<QByteArray>("raw");   // else these bytes go out as they are

    QTest::newRow("a 15-byte key") << QByteArray(15, 'k') << QByteArray();
    QTest::newRow("a 17-byte key") << QByteArray(17, 'k') << QByteArray();
    QTest::newRow("length 0") << QByteArray() << QByteArray::fromHex("00000000");
    QTest::newRow("length beyond any key") << QByteArray() << QByteArray::fromHex("7fffffff");
    QTest::newRow("shorter than the modulus") << QByteArray() << QByteArray::fromHex("00000040") + QByteArray(64, '\x42');
    QTest::newRow("128 bytes of noise") << QByteArray() << QByteArray::fromHex("00000080") + QByteArray(128, '\x42');
}

void tst_TestServer::malformedKeyBlockClosesTheConnection()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, raw);
    auto server = startServer();
    RefClient client;
    QByteArray greeting;
    QVERIFY(client.connectTo(server->port()) && client.readGreeting(&greeting) && client.readAnnouncement());
    QVERIFY(key.isEmpty() ? client.writePlainBytes(raw) : client.sendSessionKey(key));
    QVERIFY(client.closedByPeer());
    QTRY_VERIFY(!server->sessions().isEmpty() && !server->sessions().first().connected);
    QVERIFY(server->sessions().first().identification.isEmpty());
}

void tst_TestServer::selectAnswersByColumnType()
{
    auto server = startServer();
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query("select name, qstorage, groups, password, account_enabled from user where name='alice'", &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(answer.kind, 115);
    QCOMPARE(describeColumns(answer), QStringLiteral("name:1:1|qstorage:3:0|groups:8:0|password:5:0|account_enabled:2:0"));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"alice", "209715200", "staff,support", "", "1"}}));
    // the stored password never leaves the server: an empty text with its zero
    QCOMPARE(answer.cells.at(0).at(3), QByteArray(1, '\0'));
    QCOMPARE(answer.cells.at(0).at(0), QByteArray("alice", 6));

    QVERIFY(client.query("SELECT SSLInstalled FROM info", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"1"}}));
    QVERIFY(client.query("SELECT productname, version FROM info", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"Ornel Corvane", "5.0"}}));
}

void tst_TestServer::insertThenSelect()
{
    auto server = startServer();
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query("insert alias set lhs='sales', rhs='it\\'s \\\"me\\\"', domain='lakeside.example'", &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(answer.spare1, 1u);
    QVERIFY(client.query("select lhs, rhs, domain from alias where domain='lakeside.example'", &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(describeColumns(answer), QStringLiteral("lhs:1:1|rhs:1:1|domain:1:1"));
    QVERIFY(answer.texts().contains(QStringList{"sales", "it's \"me\"", "lakeside.example"}));

    QVERIFY(client.query("insert alias set lhs='sales', rhs='it\\'s \\\"me\\\"', domain='lakeside.example'", &answer));
    QCOMPARE(answer.status, 111u);
    QCOMPARE(server->journal(client.sessionId()).size(), 3);
}

void tst_TestServer::everyTypeSurvivesARoundTrip()
{
    auto server = startServer();
    server->setTable("every", {{"s", TypeString, true}, {"i", TypeInt, false}, {"l", TypeInt64, false},
                               {"a", TypeIpAddr, false}, {"p", TypePort, false}, {"b", TypeBinary, false},
                               {"d", TypeIdList, false}, {"w", TypePwd, false}});
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    const QString text = QString::fromUtf8("Ünïcode \\\\ line\\nbreak");
    QVERIFY(client.query(QStringLiteral("insert every set s='%1', i='-7', l='18446744073709551615', a='192.168.10.20', "
                                        "p='8080', b='00FF10', d='staff,,sales', w='NUL:hidden'").arg(text), &answer));
    QCOMPARE(answer.status, 0u);
    QVERIFY(client.query("insert every set s='nulls'", &answer));
    QCOMPARE(answer.status, 0u);

    QVERIFY(client.query("select s, i, l, a, p, b, d, w from every", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{
                                 {QString::fromUtf8("Ünïcode \\ line\nbreak"), "-7", "18446744073709551615",
                                  "192.168.10.20", "8080", "00ff10", "staff,,sales", ""},
                                 {"nulls", "", "", "", "", "", "", ""}}));
    // null numbers, addresses and ports are cells of length 0; an empty list is one zero word
    const QList<QByteArray> &nulls = answer.cells.at(1);
    for (int c = 1; c <= 5; ++c)
        QCOMPARE(nulls.at(c).size(), 0);
    QCOMPARE(nulls.at(6).toHex(), QByteArray("00000000"));
    QCOMPARE(server->rows("every").at(0).at(7), QStringLiteral("hidden"));
}

void tst_TestServer::longStatement()
{
    auto server = startServer();
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    const QString longText(5000, u'x');
    RefClient::Answer answer;
    QVERIFY(client.query(QStringLiteral("update user set description='%1' where name='bob'").arg(longText), &answer));
    QCOMPARE(answer.spare1, 1u);
    QVERIFY(client.query("select description from user where name='bob'", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{longText}}));
}

void tst_TestServer::refusals_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<quint32>("status");

    QTest::newRow("parse error") << "selec * from user" << 106u;
    QTest::newRow("delete without condition") << "delete from alias where " << 106u;
    QTest::newRow("unknown table") << "select a from nosuchtable" << 109u;
    QTest::newRow("unknown function") << "select nosuchfunction()" << 110u;
    QTest::newRow("duplicate key") << "insert domain set domain='corvane.example'" << 111u;
    QTest::newRow("unknown column") << "select nosuchcolumn from user" << 114u;
    QTest::newRow("empty statement") << "" << 106u;
}

void tst_TestServer::refusals()
{
    QFETCH(QString, statement);
    QFETCH(quint32, status);
    auto server = startServer();
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query(statement, &answer));
    QCOMPARE(answer.status, status);
    QVERIFY(answer.block.isEmpty());
    // the session goes on
    QVERIFY(client.query("select ProductName from info", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"Ornel Corvane"}}));
}

void tst_TestServer::refuseControl()
{
    auto server = startServer();
    QVERIFY(server->refuse("^select LogList", 113, 1, 42));
    QVERIFY(server->refuse("from domain", 108));
    QVERIFY(!server->refuse("(unclosed", 113));
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query("select LogList()", &answer));
    QCOMPARE(answer.status, 113u);
    QCOMPARE(answer.detail, 42u);
    QVERIFY(client.query("select LogList()", &answer)); // that rule was for one time only
    QCOMPARE(answer.status, 0u);
    QCOMPARE(answer.texts().size(), 5);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(client.query("select domain from domain", &answer));
        QCOMPARE(answer.status, 108u);
    }
    server->clearControls();
    QVERIFY(client.query("select domain from domain", &answer));
    QCOMPARE(answer.status, 0u);
    // a refused change changes nothing
    QVERIFY(server->refuse("^delete", 113));
    QVERIFY(client.query("delete from alias where lhs='postmaster'", &answer));
    QCOMPARE(answer.status, 113u);
    QVERIFY(client.query("select lhs from alias where lhs='postmaster'", &answer));
    QCOMPARE(answer.texts().size(), 1);
}

void tst_TestServer::delayControl()
{
    auto server = startServer();
    QVERIFY(server->delay("from info", 300, 1));
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.sendStatement("select Version from info"));
    QVERIFY(client.quietFor(100)); // nothing yet
    QVERIFY(client.readAnswer(&answer));
    QVERIFY(clock.elapsed() >= 300);
    QCOMPARE(answer.texts(), (QList<QStringList>{{"5.0"}}));
    QVERIFY(client.query("select Version from info", &answer)); // once only
    QCOMPARE(answer.status, 0u);
}

void tst_TestServer::dropControl()
{
    auto server = startServer();
    QVERIFY(server->dropAt("^delete"));
    RefClient dropped;
    RefClient other;
    QVERIFY(dropped.handshake(server->port()));
    QVERIFY(other.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(dropped.query("select lhs from alias", &answer));
    QVERIFY(dropped.sendStatement("delete from alias where lhs='abuse'"));
    QVERIFY(dropped.closedByPeer());
    QCOMPARE(server->journal(dropped.sessionId()).last(), QStringLiteral("delete from alias where lhs='abuse'"));
    QVERIFY(other.query("select lhs from alias where lhs='abuse'", &answer));
    QCOMPARE(answer.texts().size(), 1); // the dropped statement was not run
    QTRY_VERIFY(!sessionOf(*server, dropped.sessionId()).connected);
}

void tst_TestServer::silenceControl()
{
    auto server = startServer();
    QVERIFY(server->silence("LogData", 1));
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    QVERIFY(client.sendStatement("select LogData(\"smtp\", 0, 5)"));
    QVERIFY(client.quietFor(300));
    RefClient::Answer answer;
    QVERIFY(client.query("select Version from info", &answer)); // later statements are answered
    QCOMPARE(answer.texts(), (QList<QStringList>{{"5.0"}}));
}

void tst_TestServer::rawAnswerControl()
{
    auto server = startServer();
    // a header that promises more data than any answer should carry
    const QByteArray raw = QByteArray::fromHex("00000000" "7fffffff" "00000000" "00000000" "0473");
    QVERIFY(server->answerRaw("get_languages", raw));
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    QVERIFY(client.sendStatement("select get_languages()"));
    QByteArray received;
    QVERIFY(client.readDecipheredBytes(&received, raw.size()));
    QCOMPARE(received.toHex(), raw.toHex());
    QVERIFY(client.quietFor(100));
}

void tst_TestServer::greetings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("pauseAt");
    QTest::addColumn<bool>("closeAfter");

    QTest::newRow("version 16") << QByteArray::fromHex("10000200050000") << QList<int>{} << false;
    QTest::newRow("cut after the version byte") << QByteArray::fromHex("11") << QList<int>{} << true;
    QTest::newRow("closed after a whole greeting") << QByteArray::fromHex("11000200050000") << QList<int>{} << true;
    QTest::newRow("split with pauses") << QByteArray::fromHex("11000200050000") << QList<int>{1, 3} << false;
    QTest::newRow("other numbers") << QByteArray::fromHex("11ffff00040009") << QList<int>{} << false;
}

void tst_TestServer::greetings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, pauseAt);
    QFETCH(bool, closeAfter);

    auto server = startServer();
    GreetingPlan plan;
    plan.bytes = bytes;
    plan.pauseAt = pauseAt;
    plan.pauseMs = 150;
    plan.closeAfter = closeAfter;
    server->setGreeting(plan);

    RefClient client;
    QVERIFY(client.connectTo(server->port()));
    QByteArray received;
    int at = 0;
    for (int pause : pauseAt) {
        QByteArray piece;
        QVERIFY(client.readPlainBytes(&piece, pause - at));
        received += piece;
        QVERIFY(client.quietFor(75)); // the rest comes only after the pause
        at = pause;
    }
    QByteArray rest;
    QVERIFY(client.readPlainBytes(&rest, bytes.size() - at));
    received += rest;
    QCOMPARE(received.toHex(), bytes.toHex());
    if (closeAfter) {
        QVERIFY(client.closedByPeer());
    } else {
        QVERIFY(client.readAnnouncement()); // the key announcement follows whatever the greeting said
    }
}

void tst_TestServer::datagrams()
{
    auto server = startServer();
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    QVERIFY(server->waitForRegistration(client.sessionId(), 5000));

    const QByteArray first = QByteArray::fromHex("11" "0008" "0000000000000005");
    const QByteArray second = QByteArray::fromHex("10ff");
    QCOMPARE(server->pushDatagram(first), 1);
    QCOMPARE(server->pushDatagram(second), 1);
    QCOMPARE(server->pushDatagram(QByteArray(1, '\x11')), 1);
    QCOMPARE(client.receiveDatagram().toHex(), first.toHex());
    QCOMPARE(client.receiveDatagram().toHex(), second.toHex());
    QCOMPARE(client.receiveDatagram().toHex(), QByteArray("11"));

    QCOMPARE(server->pushLogUpdate("imap"), 1);
    QCOMPARE(client.receiveDatagram().toHex(), logRecord(*server, "imap").toHex());
    QCOMPARE(server->pushLogUpdate("nosuchlog"), 0);
}

void tst_TestServer::datagramToOneSession()
{
    auto server = startServer();
    RefClient one;
    RefClient two;
    QVERIFY(one.handshake(server->port()));
    QVERIFY(two.handshake(server->port()));
    QVERIFY(server->waitForRegistration(one.sessionId(), 5000));
    QVERIFY(server->waitForRegistration(two.sessionId(), 5000));
    QCOMPARE(server->pushDatagram("\x11" "only two", two.sessionId()), 1);
    QCOMPARE(two.receiveDatagram(), QByteArray("\x11" "only two"));
    QVERIFY(one.receiveDatagram(200).isEmpty());
    QCOMPARE(server->pushDatagram("\x11" "both"), 2);
    QCOMPARE(one.receiveDatagram(), QByteArray("\x11" "both"));
    QCOMPARE(two.receiveDatagram(), QByteArray("\x11" "both"));

    one.close(); // gone sessions receive nothing
    QTRY_VERIFY(!sessionOf(*server, one.sessionId()).connected);
    QCOMPARE(server->pushDatagram("\x11" "left"), 1);
}

void tst_TestServer::logChangesAreAnnounced()
{
    auto server = startServer();
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    QVERIFY(server->waitForRegistration(client.sessionId(), 5000));
    LogExtent before;
    QVERIFY(server->logExtent("smtp", &before));

    QVERIFY(server->appendLogLines("smtp", {"one more", "and another"}));
    QCOMPARE(client.receiveDatagram().toHex(),
             (QByteArray(1, '\x11') + TestServer::logUpdateRecord(before.id, before.first, before.end + 2)).toHex());
    RefClient::Answer answer;
    QVERIFY(client.query(QStringLiteral("select LogData(\"smtp\", %1, 10)").arg(before.end), &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"one more"}, {"and another"}}));

    QVERIFY(server->trimLog("smtp", 4));
    QCOMPARE(client.receiveDatagram().toHex(),
             (QByteArray(1, '\x11') + TestServer::logUpdateRecord(before.id, 4, before.end + 2)).toHex());

    QVERIFY(client.query("select LogCtrl(\"clean\", \"smtp\")", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"OK"}}));
    QCOMPARE(client.receiveDatagram().toHex(),
             (QByteArray(1, '\x11') + TestServer::logUpdateRecord(before.id, before.end + 2, before.end + 2)).toHex());

    QVERIFY(server->rotateLog("smtp"));
    QCOMPARE(client.receiveDatagram().toHex(),
             (QByteArray(1, '\x11') + TestServer::logUpdateRecord(before.id, 0, 0)).toHex());

    server->addSyntheticLog("huge", 100000000);
    QVERIFY(!client.receiveDatagram().isEmpty());
    QVERIFY(client.query("select LogList(\"huge\")", &answer));
    QCOMPARE(answer.texts().value(0).mid(1), (QStringList{"huge", "100000000", "0"}));
    QVERIFY(client.query("select LogData(\"huge\", 99999999, 100)", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{TestServer::syntheticLine("huge", 99999999)}}));
}

void tst_TestServer::journalPerSession()
{
    auto server = startServer();
    RefClient one;
    RefClient two;
    QVERIFY(one.handshake(server->port()));
    QVERIFY(two.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(one.query("select name from user", &answer));
    QVERIFY(two.query("select get_auth_types()", &answer));
    QVERIFY(one.query("selec broken", &answer));
    QCOMPARE(server->journal(one.sessionId()), (QStringList{"select name from user", "selec broken"}));
    QCOMPARE(server->journal(two.sessionId()), QStringList{"select get_auth_types()"});
    const QList<JournalEntry> all = server->journal();
    QCOMPARE(all.size(), 3);
    QCOMPARE(all.at(1).session, two.sessionId());
}

void tst_TestServer::journalFile()
{
    QTemporaryDir dir;
    ServerOptions options;
    options.journalFile = dir.filePath("journal.jsonl");
    auto server = startServer(options);
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query("select lhs from alias where rhs='it\\'s\n'", &answer));
    QFile file(options.journalFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 2); // one line and the final new line
    const QJsonObject line = QJsonDocument::fromJson(lines.at(0)).object();
    QCOMPARE(line.value("session").toInteger(), qint64(client.sessionId()));
    QCOMPARE(line.value("statement").toString(), QStringLiteral("select lhs from alias where rhs='it\\'s\n'"));
}

void tst_TestServer::concurrentSessions()
{
    auto server = startServer();
    constexpr int Clients = 8;
    constexpr int Queries = 25;
    std::atomic<int> answered{0};
    std::vector<std::thread> threads;
    for (int c = 0; c < Clients; ++c) {
        threads.emplace_back([&, c] {
            RefClient client;
            if (!client.handshake(server->port()))
                return;
            for (int q = 0; q < Queries; ++q) {
                RefClient::Answer answer;
                const QString lhs = QStringLiteral("c%1q%2").arg(c).arg(q);
                if (client.query(QStringLiteral("insert alias set lhs='%1', rhs='admin', domain=''").arg(lhs), &answer)
                    && answer.status == 0
                    && client.query(QStringLiteral("select rhs from alias where lhs='%1'").arg(lhs), &answer)
                    && answer.texts() == QList<QStringList>{{"admin"}})
                    ++answered;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(answered.load(), Clients * Queries);
    QCOMPARE(server->journal().size(), 2 * Clients * Queries);
}

void tst_TestServer::stopEndsEverySession()
{
    auto server = startServer();
    QVERIFY(server->delay("from info", 60000));
    RefClient idle;
    RefClient waiting;
    RefClient half; // stopped in the middle of its handshake
    QVERIFY(idle.handshake(server->port()));
    QVERIFY(waiting.handshake(server->port()));
    QByteArray greeting;
    QVERIFY(half.connectTo(server->port()) && half.readGreeting(&greeting));
    QVERIFY(waiting.sendStatement("select Version from info"));
    QTRY_COMPARE(server->journal(waiting.sessionId()).size(), 1);

    server->stop(); // joins every thread, the one sleeping in its delay too
    QVERIFY(!server->isRunning());
    QVERIFY(idle.closedByPeer());
    QVERIFY(waiting.closedByPeer());
    for (const SessionInfo &info : server->sessions())
        QVERIFY(!info.connected);

    // the data stays; the server starts again on a new port
    server->clearControls();
    server->setAccount("later", "pw");
    QVERIFY(server->start());
    RefClient again;
    QVERIFY(again.handshake(server->port(), "later", "pw"));
    RefClient::Answer answer;
    QVERIFY(again.query("select Version from info", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"5.0"}}));
}

QTEST_GUILESS_MAIN(tst_TestServer)
#include "tst_testserver.moc"
