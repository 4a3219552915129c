#include "refclient.h"
#include "testserver.h"

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <QElapsedTimer>
#include <QtEndian>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace StandIn;
using Rows = QList<QStringList>;

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

// In hex: byte 17, then the log's record: its id, the length 8, its first and end line.
QByteArray logDatagram(int id, quint32 first, quint32 end)
{
    const auto hex = [](quint32 value, int digits) { return QByteArray::number(value, 16).rightJustified(digits, '0'); };
    return "11" + hex(quint32(id), 2) + "08" + hex(first, 8) + hex(end, 8);
}

bool writeKey(EVP_PKEY *key, const QString &path)
{
    FILE *file = std::fopen(path.toLocal8Bit().constData(), "w");
    const bool written = PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    std::fclose(file);
    EVP_PKEY_free(key);
    return written;
}

} // namespace

class tst_TestServer : public QObject
{
    Q_OBJECT

private slots:
    void handshake();
    void authentication_data();
    void authentication();
    void malformedKeyBlock_data();
    void malformedKeyBlock();
    void keyFile();
    void everyTypeSurvivesARoundTrip();
    void controls();
    void malformedAnswers();
    void shortenedAnswers();
    void omittedColumns_data();
    void omittedColumns();
    void omittedColumnsRuleLimits();
    void trickledAnswers();
    void heldAnswers_data();
    void heldAnswers();
    void heldAnswersOfSeveralSessions();
    void greetingPlan_data();
    void greetingPlan();
    void datagrams();
    void logIdsStayWithTheirLog();
    void concurrentSessions();
    void stopEndsEverySession();
};

void tst_TestServer::handshake()
{
    auto server = startServer();
    RefClient client;
    QByteArray greeting;
    QVERIFY(client.connectTo(server->port()) && client.readPlain(&greeting, 7));
    QCOMPARE(greeting.toHex(), QByteArray("11000200050000"));
    QVERIFY(client.readAnnouncement());
    QCOMPARE(client.keyBits(), 1024);
    QVERIFY(quint8(client.announcement().at(4)) & 0x80); // a full 1024-bit modulus
    QCOMPARE(client.announcement().mid(132).toHex(), (QByteArray(125, '\0') + QByteArray::fromHex("010001")).toHex());
    QVERIFY(client.sendSessionKey() && client.identify() && client.registerUpdates(server->port()));
    quint32 result = 1;
    QVERIFY(client.authenticate("admin", "admin", &result));
    QCOMPARE(result, 0u);

    QVERIFY(server->waitForRegistration(client.sessionId(), 5000));
    const SessionInfo info = sessionOf(*server, client.sessionId());
    QCOMPARE(info.identification, QStringLiteral("Ornel Admin 5.0 (Linux)"));
    QCOMPARE(info.user, QStringLiteral("admin"));
    QVERIFY(info.authenticated && info.connected && info.registered);
    QVERIFY(info.updateAddress.startsWith(QStringLiteral("127.0.0.1:")));
}

void tst_TestServer::authentication_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("wrong password") << QByteArray("admin") << QByteArray("Admin") << false;
    QTest::newRow("configured, empty password") << QByteArray("guest") << QByteArray() << true;
    QTest::newRow("prefix of the password") << QByteArray("ops") << QByteArray("s3cret") << false;
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
    QVERIFY(client.connectTo(server->port()) && client.readPlain(&greeting, 7) && client.readAnnouncement()
            && client.sendSessionKey() && client.identify("test"));
    // A refused login is answered by closing the connection, without a word.
    QCOMPARE(client.authenticate(user, password), accepted);
    QTRY_COMPARE(sessionOf(*server, client.sessionId()).authenticated, accepted);
    QTRY_COMPARE(sessionOf(*server, client.sessionId()).connected, accepted);
}

void tst_TestServer::malformedKeyBlock_data()
{
    QTest::addColumn<QByteArray>("key"); // sent properly enciphered when not empty
    QTest::addColumn<QByteArray>("raw"); // else these bytes go out as they are

    QTest::newRow("a 15-byte key") << QByteArray(15, 'k') << QByteArray();
    QTest::newRow("length beyond any key") << QByteArray() << QByteArray::fromHex("7fffffff");
    QTest::newRow("128 bytes of noise") << QByteArray() << QByteArray::fromHex("00000080") + QByteArray(128, 'B');
}

void tst_TestServer::malformedKeyBlock()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, raw);
    auto server = startServer();
    RefClient client;
    QByteArray greeting;
    QVERIFY(client.connectTo(server->port()) && client.readPlain(&greeting, 7) && client.readAnnouncement());
    QVERIFY(key.isEmpty() ? client.writePlain(raw) : client.sendSessionKey(key));
    QVERIFY(client.closedByPeer());
    QTRY_VERIFY(!server->sessions().isEmpty() && !server->sessions().first().connected);
    QVERIFY(server->sessions().first().identification.isEmpty());
}

void tst_TestServer::keyFile()
{
    QTemporaryDir dir;
    ServerOptions options;
    options.port = 0;
    options.keyFile = dir.filePath("key.pem");
    QVERIFY(writeKey(EVP_RSA_gen(2048), options.keyFile));
    QString error;
    QVERIFY(!TestServer(options).start(&error));
    QVERIFY2(error.contains("2048 bits"), qPrintable(error)); // its numbers do not fit the announcement

    QVERIFY(writeKey(EVP_RSA_gen(512), options.keyFile));
    TestServer server(options);
    QVERIFY2(server.start(&error), qPrintable(error));
    // A shorter modulus stands at the end of its field: the client's RSA works only then.
    RefClient client;
    QVERIFY(client.handshake(server.port()));
    QCOMPARE(client.keyBits(), 512);
    QCOMPARE(client.announcement().mid(4, 64), QByteArray(64, '\0'));
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
    const QString text = QString::fromUtf8("Ünïcode \\\\ it\\'s \\\"me\\\"\\n") + QString(5000, u'x');
    QVERIFY(client.query(QStringLiteral("insert every set s='%1', i='-7', l='18446744073709551615', a='192.168.10.20', "
                                        "p='8080', b='00FF10', d='staff,,sales', w='NUL:hidden'").arg(text), &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(answer.affected, 1u);
    QVERIFY(client.query("insert every set s='nulls'", &answer));
    QCOMPARE(answer.status, 0u);

    QVERIFY(client.query("select s, i, l, a, p, b, d, w from every", &answer));
    QCOMPARE(answer.columnText(), QStringLiteral("s:1:1|i:2:0|l:3:0|a:4:0|p:7:0|b:6:0|d:8:0|w:5:0"));
    QCOMPARE(answer.texts(), (Rows{{QString::fromUtf8("Ünïcode \\ it's \"me\"\n") + QString(5000, u'x'), "-7",
                                    "18446744073709551615", "192.168.10.20", "8080", "00ff10", "staff,,sales", ""},
                                   {"nulls", "", "", "", "", "", "", ""}}));
    // Null numbers, addresses and ports are cells of length 0; an empty list is one zero
    // word; a password never leaves the server, it is sent as an empty text.
    const QList<QByteArray> &nulls = answer.cells.at(1);
    for (int c = 1; c <= 5; ++c)
        QCOMPARE(nulls.at(c).size(), 0);
    QCOMPARE(nulls.at(6).toHex(), QByteArray("00000000"));
    QCOMPARE(answer.cells.at(0).at(7), QByteArray(1, '\0'));
    QCOMPARE(server->rows("every").at(0).at(7), QStringLiteral("hidden"));

    // A refusal is a header without a data block, journalled like any statement; the session goes on.
    QVERIFY(client.query("insert every set s='nulls'", &answer));
    QCOMPARE(answer.status, 111u);
    QCOMPARE(server->journal(client.sessionId()).last(), QStringLiteral("insert every set s='nulls'"));
    QVERIFY(client.query("select Version from info", &answer));
    QCOMPARE(answer.texts(), (Rows{{"5.0"}}));
}

// Every control on one session; the drop comes last as it ends the session.
void tst_TestServer::controls()
{
    auto server = startServer();
    QVERIFY(server->refuse("^select LogList", 113, 1, 42));
    QVERIFY(server->refuse("^delete from alias where lhs='postmaster'", 108));
    QVERIFY(!server->refuse("(unclosed", 113));
    QVERIFY(server->delay("from info", 300, 1));
    QVERIFY(server->silence("LogData", 1));
    // a header that promises more data than any answer should carry
    const QByteArray raw = QByteArray::fromHex("00000000" "7fffffff" "00000000" "00000000" "0473");
    QVERIFY(server->answerRaw("get_languages", raw));
    RefClient client;
    RefClient other;
    QVERIFY(client.handshake(server->port()) && other.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query("select LogList()", &answer));
    QCOMPARE(answer.status, 113u);
    QCOMPARE(answer.detail, 42u);
    QVERIFY(client.query("select LogList()", &answer)); // that rule was for one time only
    QCOMPARE(answer.texts().size(), 5);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(client.query("delete from alias where lhs='postmaster'", &answer));
        QCOMPARE(answer.status, 108u);
    }
    QVERIFY(client.query("select lhs from alias where lhs='postmaster'", &answer));
    QCOMPARE(answer.texts().size(), 1); // a refused change changes nothing

    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.sendStatement("select Version from info"));
    QVERIFY(client.quietFor(100));
    QVERIFY(client.readAnswer(&answer));
    QVERIFY(clock.elapsed() >= 300);
    QCOMPARE(answer.texts(), (Rows{{"5.0"}}));

    QVERIFY(client.sendStatement("select LogData(\"smtp\", 0, 5)"));
    QVERIFY(client.quietFor(300));
    QVERIFY(client.sendStatement("select get_languages()"));
    QByteArray received;
    QVERIFY(client.readDeciphered(&received, raw.size()));
    QCOMPARE(received.toHex(), raw.toHex());
    QVERIFY(client.quietFor(100));

    server->clearControls();
    QVERIFY(client.query("select get_languages()", &answer));
    QCOMPARE(answer.texts().size(), 7);
    QVERIFY(server->dropAt("^delete"));
    QVERIFY(client.sendStatement("delete from alias where lhs='abuse'"));
    QVERIFY(client.closedByPeer());
    QCOMPARE(server->journal(client.sessionId()).last(), QStringLiteral("delete from alias where lhs='abuse'"));
    QVERIFY(other.query("select lhs from alias where lhs='abuse'", &answer));
    QCOMPARE(answer.texts().size(), 1); // the dropped statement was not run
    QTRY_VERIFY(!sessionOf(*server, client.sessionId()).connected);
}

// A spoiled answer is the statement's own answer, changed: one row too many declared in
// a whole block (the session goes on), or its first half and then the end of the session.
void tst_TestServer::malformedAnswers()
{
    auto server = startServer();
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    const QByteArray statement = "select Version from info";
    auto rawAnswer = [&](int length, QByteArray *bytes) {
        return client.sendStatement(statement) && client.readDeciphered(bytes, length);
    };
    QByteArray whole;
    QVERIFY(rawAnswer(16, &whole));
    const int blockSize = int(qFromBigEndian<quint32>(whole.constData() + 4));
    QByteArray block;
    QVERIFY(client.readDeciphered(&block, blockSize));
    whole += block;
    QCOMPARE(qFromBigEndian<quint32>(whole.constData() + 20), 1u);

    QVERIFY(server->malformAnswer("^select Version", Malformed::RowCountBeyondBlock, 1));
    QByteArray spoiled;
    QVERIFY(rawAnswer(whole.size(), &spoiled));
    QCOMPARE(qFromBigEndian<quint32>(spoiled.constData() + 20), 2u);
    QCOMPARE(spoiled.left(20) + spoiled.mid(24), whole.left(20) + whole.mid(24));
    RefClient::Answer answer;
    QVERIFY(client.query(QString::fromLatin1(statement), &answer));
    QCOMPARE(answer.texts(), (Rows{{"5.0"}}));

    QVERIFY(server->malformAnswer("^select Version", Malformed::CutShort, 1));
    QByteArray half;
    QVERIFY(rawAnswer(whole.size() / 2, &half));
    QCOMPARE(half.toHex(), whole.left(whole.size() / 2).toHex());
    QVERIFY(client.closedByPeer());
}

// A shortened answer is a well-formed row set holding only the first rows of the statement's
// own answer; answers that are no row set, and statements the rule does not match, stay whole.
void tst_TestServer::shortenedAnswers()
{
    auto server = startServer();
    server->addLog("cut", {"l0", "l1", "l2", "l3", "l4", "l5"});
    QVERIFY(server->shortenAnswer("^select LogData", 2, 2));
    QVERIFY(!server->shortenAnswer("(unclosed", 2));
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query("select LogData(\"cut\", 1, 4)", &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(answer.texts(), (Rows{{"l1"}, {"l2"}}));
    QVERIFY(client.query("select LogList(\"cut\")", &answer));
    QCOMPARE(answer.texts().size(), 1);
    QVERIFY(client.query("select LogData(\"cut\", 4, 1)", &answer)); // fewer rows than the cap
    QCOMPARE(answer.texts(), (Rows{{"l4"}}));
    QVERIFY(client.query("select LogData(\"cut\", 0, 6)", &answer)); // the rule was for two times
    QCOMPARE(answer.texts().size(), 6);

    QVERIFY(server->shortenAnswer("^select LogData", 0, 1));
    QVERIFY(client.query("select LogData(\"cut\", 0, 6)", &answer));
    QCOMPARE(answer.status, 0u);
    QVERIFY(answer.texts().isEmpty());

    // A change is carried out and acknowledged as usual.
    QVERIFY(server->shortenAnswer("^update", 0, 1));
    QVERIFY(client.query("update info set Version='5.1'", &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(server->rows("info").value(0).value(1), QStringLiteral("5.1")); // ProductName, Version, ...
}

// An answer without some of its columns is a well-formed row set: those columns' descriptors
// and cells are left out, every other column keeps its place in the order asked for.
void tst_TestServer::omittedColumns_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<Rows>("texts");

    QTest::newRow("one named, in the middle")
        << QStringList{"b"} << 0 << "a:1:1|c:2:0" << Rows{{"x", "7"}, {"y", "8"}};
    QTest::newRow("named in another case")
        << QStringList{"C"} << 0 << "a:1:1|b:1:0" << Rows{{"x", "one"}, {"y", "two"}};
    QTest::newRow("the key and another")
        << QStringList{"a", "c"} << 0 << "b:1:0" << Rows{{"one"}, {"two"}};
    QTest::newRow("a name the answer lacks")
        << QStringList{"z"} << 0 << "a:1:1|b:1:0|c:2:0" << Rows{{"x", "one", "7"}, {"y", "two", "8"}};
    QTest::newRow("the last by count") << QStringList() << 1 << "a:1:1|b:1:0" << Rows{{"x", "one"}, {"y", "two"}};
    QTest::newRow("the last two by count") << QStringList() << 2 << "a:1:1" << Rows{{"x"}, {"y"}};
    QTest::newRow("more than there are") << QStringList() << 5 << "" << Rows{{}, {}};
}

void tst_TestServer::omittedColumns()
{
    QFETCH(QStringList, names);
    QFETCH(int, count);
    QFETCH(QString, columns);
    QFETCH(Rows, texts);

    auto server = startServer();
    server->setTable("T", {{"a", TypeString, true}, {"b", TypeString}, {"c", TypeInt}},
                     {{"x", "one", "7"}, {"y", "two", "8"}});
    QVERIFY(names.isEmpty() ? server->omitColumns("^select .* from T", count, 1)
                            : server->omitColumns("^select .* from T", names, 1));
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query("select a, b, c from T", &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(answer.columnText(), columns);
    QCOMPARE(answer.cells.size(), texts.size());
    for (const QList<QByteArray> &row : std::as_const(answer.cells))
        QCOMPARE(row.size(), answer.columns.size());
    QCOMPARE(answer.texts(), texts);
    // The rule was for once.
    QVERIFY(client.query("select a, b, c from T", &answer));
    QCOMPARE(answer.columnText(), QStringLiteral("a:1:1|b:1:0|c:2:0"));
    QCOMPARE(answer.texts(), (Rows{{"x", "one", "7"}, {"y", "two", "8"}}));
}

// Rules that would omit nothing are not added; a change is carried out and acknowledged as
// usual; a statement the rule does not match keeps every column.
void tst_TestServer::omittedColumnsRuleLimits()
{
    auto server = startServer();
    server->setTable("T", {{"a", TypeString, true}, {"b", TypeString}}, {{"x", "one"}});
    QVERIFY(!server->omitColumns("^select", QStringList()));
    QVERIFY(!server->omitColumns("^select", 0));
    QVERIFY(!server->omitColumns("(unclosed", QStringList{"b"}));
    QVERIFY(!server->omitColumns("(unclosed", 1));
    QVERIFY(server->omitColumns("^update|from T$", QStringList{"b"}));

    RefClient client;
    QVERIFY(client.handshake(server->port()));
    RefClient::Answer answer;
    QVERIFY(client.query("select a, b from T where a='x'", &answer));
    QCOMPARE(answer.columnText(), QStringLiteral("a:1:1|b:1:0"));
    QVERIFY(client.query("update T set b='two' where a='x'", &answer));
    QCOMPARE(answer.status, 0u);
    QCOMPARE(answer.affected, 1u);
    QCOMPARE(server->rows("T"), (Rows{{"x", "two"}}));
    QVERIFY(client.query("select a, b from T", &answer));
    QCOMPARE(answer.columnText(), QStringLiteral("a:1:1"));
    QCOMPARE(answer.texts(), (Rows{{"x"}}));
}

// A trickled answer is the answer the statement gets otherwise, sent a few bytes at a time
// with the line quiet between the pieces: they decipher, in order, into that very answer.
void tst_TestServer::trickledAnswers()
{
    auto server = startServer();
    QVERIFY(!server->trickle("(unclosed", 1, 10));
    QVERIFY(!server->trickle("^select Version", 0, 10));
    QVERIFY(!server->trickle("^select Version", 1, 0));
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    const QByteArray statement = "select Version from info";
    auto readWhole = [&client](QByteArray *bytes) {
        QByteArray block;
        return client.readDeciphered(bytes, 16)
               && client.readDeciphered(&block, int(qFromBigEndian<quint32>(bytes->constData() + 4)))
               && (bytes->append(block), true);
    };
    QByteArray whole;
    QVERIFY(client.sendStatement(statement) && readWhole(&whole));

    QVERIFY(server->trickle("^select Version", 8, 150, 1));
    QVERIFY(client.sendStatement(statement));
    QByteArray piece;
    QVERIFY(client.readDeciphered(&piece, 8));
    QVERIFY(client.quietFor(75));
    QByteArray rest;
    QVERIFY(client.readDeciphered(&rest, int(whole.size()) - 8));
    QCOMPARE((piece + rest).toHex(), whole.toHex());
    QVERIFY(client.quietFor(200)); // nothing follows the answer

    // The rule was for one time; a refusal trickles like any answer.
    QByteArray again;
    QVERIFY(client.sendStatement(statement) && readWhole(&again));
    QCOMPARE(again.toHex(), whole.toHex());
    QVERIFY(server->refuse("^select LogList", 113, 1));
    QVERIFY(server->trickle("^select LogList", 4, 100, 1));
    QVERIFY(client.sendStatement("select LogList()"));
    QVERIFY(client.readDeciphered(&piece, 4));
    QVERIFY(client.quietFor(50));
    RefClient::Answer answer;
    QVERIFY(client.readDeciphered(&rest, 12));
    QCOMPARE(qFromBigEndian<quint32>((piece + rest).constData() + 8), 113u);
    QVERIFY(client.query("select Version from info", &answer));
    QCOMPARE(answer.texts(), (Rows{{"5.0"}}));
}

void tst_TestServer::heldAnswers_data()
{
    QTest::addColumn<QString>("answer"); // what the held statement gets besides
    QTest::newRow("its own answer") << "own";
    QTest::newRow("a refusal") << "refusal";
    QTest::newRow("a drop") << "drop";
}

// A held answer waits at the gate, whatever it is, until the test lets it go, and not a
// moment longer; the rule was for one statement, so the next is answered at once.
void tst_TestServer::heldAnswers()
{
    QFETCH(QString, answer);
    auto server = startServer();
    QVERIFY(!server->hold("(unclosed"));
    QVERIFY(server->hold("from info", 1));
    if (answer == "refusal")
        QVERIFY(server->refuse("from info", 109, 1));
    if (answer == "drop")
        QVERIFY(server->dropAt("from info", 1));
    RefClient client;
    QVERIFY(client.handshake(server->port()));
    QCOMPARE(server->heldAnswers(), 0);

    QVERIFY(client.sendStatement("select Version from info"));
    QTRY_COMPARE(server->heldAnswers(), 1);
    QVERIFY(client.quietFor(300));
    QCOMPARE(server->heldAnswers(), 1);
    server->releaseHeld();
    RefClient::Answer received;
    if (answer == "drop") {
        QVERIFY(client.closedByPeer());
    } else {
        QVERIFY(client.readAnswer(&received));
        QCOMPARE(received.status, answer == "refusal" ? 109u : 0u);
        QCOMPARE(received.texts(), answer == "refusal" ? Rows() : Rows{{"5.0"}});
        QVERIFY(client.query("select Version from info", &received));
        QCOMPARE(received.texts(), (Rows{{"5.0"}}));
    }
    QTRY_COMPARE(server->heldAnswers(), 0);
}

// One release lets every answer held so far go; a statement that comes after it waits for
// the next, and stop() ends what is still held.
void tst_TestServer::heldAnswersOfSeveralSessions()
{
    auto server = startServer();
    QVERIFY(server->hold("^select Version"));
    RefClient first;
    RefClient second;
    QVERIFY(first.handshake(server->port()) && second.handshake(server->port()));
    QVERIFY(first.sendStatement("select Version from info"));
    QVERIFY(second.sendStatement("select Version from info"));
    QTRY_COMPARE(server->heldAnswers(), 2);
    // A session answers in order: its next statement waits behind the held one.
    QVERIFY(first.sendStatement("select lhs from alias where lhs='abuse'"));
    QVERIFY(first.quietFor(200) && second.quietFor(0));
    server->releaseHeld();
    RefClient::Answer answer;
    QVERIFY(first.readAnswer(&answer));
    QCOMPARE(answer.texts(), (Rows{{"5.0"}}));
    QVERIFY(first.readAnswer(&answer)); // the statement queued behind the held one
    QCOMPARE(answer.texts(), (Rows{{"abuse"}}));
    QVERIFY(second.readAnswer(&answer));
    QCOMPARE(answer.texts(), (Rows{{"5.0"}}));

    QVERIFY(second.sendStatement("select Version from info"));
    QTRY_COMPARE(server->heldAnswers(), 1);
    QVERIFY(second.quietFor(200));
    server->stop();
    QVERIFY(second.closedByPeer());
    QCOMPARE(server->heldAnswers(), 0);
}

// The greeting a test plans: sent in pieces with pauses between them, then the connection closed.
void tst_TestServer::greetingPlan_data()
{
    QTest::addColumn<QList<int>>("pauseAt");

    QTest::newRow("after the version byte and a number") << QList<int>{1, 3};
    // A greeting held back from the start: the peer has connected but hears nothing yet.
    QTest::newRow("before the first byte") << QList<int>{0, 3};
}

void tst_TestServer::greetingPlan()
{
    QFETCH(QList<int>, pauseAt);
    auto server = startServer();
    GreetingPlan plan;
    plan.bytes = QByteArray::fromHex("11000200050000");
    plan.pauseAt = pauseAt;
    plan.pauseMs = 150;
    plan.closeAfter = true;
    server->setGreeting(plan);

    RefClient client;
    QVERIFY(client.connectTo(server->port()));
    QByteArray received;
    int at = 0;
    for (int pause : plan.pauseAt + QList<int>{int(plan.bytes.size())}) {
        QByteArray piece;
        QVERIFY(client.readPlain(&piece, pause - at));
        received += piece;
        QVERIFY(pause == plan.bytes.size() || client.quietFor(75)); // the rest comes only after the pause
        at = pause;
    }
    QCOMPARE(received.toHex(), plan.bytes.toHex());
    QVERIFY(client.closedByPeer());
}

void tst_TestServer::datagrams()
{
    auto server = startServer();
    RefClient one;
    RefClient two;
    QVERIFY(one.handshake(server->port()) && two.handshake(server->port()));
    QVERIFY(server->waitForRegistration(one.sessionId(), 5000));
    QVERIFY(server->waitForRegistration(two.sessionId(), 5000));

    QCOMPARE(server->pushDatagram("\x11" "only two", two.sessionId()), 1);
    QCOMPARE(two.receiveDatagram(), QByteArray("\x11" "only two"));
    QVERIFY(one.receiveDatagram(200).isEmpty());
    QCOMPARE(server->pushDatagram("\x11" "both"), 2);
    QCOMPARE(one.receiveDatagram(), QByteArray("\x11" "both"));
    QCOMPARE(two.receiveDatagram(), QByteArray("\x11" "both"));

    LogExtent imap;
    QVERIFY(server->logExtent("imap", &imap));
    QCOMPARE(server->pushLogUpdate("imap", one.sessionId()), 1);
    QCOMPARE(one.receiveDatagram().toHex(), logDatagram(imap.id, imap.first, imap.end));
    QCOMPARE(server->pushLogUpdate("nosuchlog"), 0);

    two.close(); // gone sessions receive nothing
    QTRY_VERIFY(!sessionOf(*server, two.sessionId()).connected);
    QCOMPARE(server->pushDatagram("\x11" "left"), 1);
    QCOMPARE(one.receiveDatagram(), QByteArray("\x11" "left"));

    // Every change of a log is announced.
    RefClient &client = one;
    LogExtent before;
    QVERIFY(server->logExtent("smtp", &before));

    QVERIFY(server->appendLogLines("smtp", {"one more", "and another"}));
    QCOMPARE(client.receiveDatagram().toHex(), logDatagram(before.id, before.first, before.end + 2));
    RefClient::Answer answer;
    QVERIFY(client.query(QStringLiteral("select LogData(\"smtp\", %1, 10)").arg(before.end), &answer));
    QCOMPARE(answer.texts(), (Rows{{"one more"}, {"and another"}}));

    QVERIFY(server->trimLog("smtp", 4));
    QCOMPARE(client.receiveDatagram().toHex(), logDatagram(before.id, 4, before.end + 2));
    QVERIFY(client.query("select LogCtrl(\"clean\", \"smtp\")", &answer));
    QCOMPARE(answer.texts(), (Rows{{"OK"}}));
    QCOMPARE(client.receiveDatagram().toHex(), logDatagram(before.id, before.end + 2, before.end + 2));
    QVERIFY(server->rotateLog("smtp"));
    QCOMPARE(client.receiveDatagram().toHex(), logDatagram(before.id, 0, 0));
    QVERIFY(server->appendLogLines("SMTP", {"fresh"})); // and it grows again from where it stands
    QCOMPARE(client.receiveDatagram().toHex(), logDatagram(before.id, 0, 1));
    QVERIFY(client.query("select LogData(\"smtp\", 0, 10)", &answer));
    QCOMPARE(answer.texts(), (Rows{{"fresh"}}));
    QVERIFY(server->trimLog("smtp", 1000)); // more than there is
    QCOMPARE(client.receiveDatagram().toHex(), logDatagram(before.id, 1, 1));
}

// The id travels in every update record: a log keeps it, others never take it over.
void tst_TestServer::logIdsStayWithTheirLog()
{
    TestServer server;
    LogExtent smtp, pop3, extent;
    QVERIFY(server.logExtent("smtp", &smtp) && server.logExtent("pop3", &pop3));
    QVERIFY(server.removeLog("pop3"));
    server.addLog("smtp", {"again"}, 10);
    server.addLog("added");
    QVERIFY(server.logExtent("smtp", &extent));
    QCOMPARE(QList<quint32>({quint32(extent.id), extent.first, extent.end}), QList<quint32>({quint32(smtp.id), 10, 11}));
    QSet<int> ids;
    for (const QString &name : server.logNames()) {
        QVERIFY(server.logExtent(name, &extent));
        ids.insert(extent.id);
    }
    QCOMPARE(ids.size(), server.logNames().size());
    QVERIFY(!ids.contains(pop3.id));
}

// Sessions at once, each on its own thread; the journal keeps each one's statements apart.
void tst_TestServer::concurrentSessions()
{
    auto server = startServer();
    constexpr int Clients = 8;
    constexpr int Queries = 25;
    std::atomic<int> answered{0};
    quint32 sessions[Clients] = {};
    std::vector<std::thread> threads;
    for (int c = 0; c < Clients; ++c) {
        threads.emplace_back([&, c] {
            RefClient client;
            if (!client.handshake(server->port()))
                return;
            sessions[c] = client.sessionId();
            for (int q = 0; q < Queries; ++q) {
                RefClient::Answer answer;
                const QString lhs = QStringLiteral("c%1q%2").arg(c).arg(q);
                if (client.query(QStringLiteral("insert alias set lhs='%1', rhs='admin', domain=''").arg(lhs), &answer)
                    && answer.status == 0
                    && client.query(QStringLiteral("select rhs from alias where lhs='%1'").arg(lhs), &answer)
                    && answer.texts() == Rows{{"admin"}})
                    ++answered;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(answered.load(), Clients * Queries);
    QCOMPARE(server->journal().size(), 2 * Clients * Queries);
    const QStringList third = server->journal(sessions[3]);
    QCOMPARE(third.size(), 2 * Queries);
    QCOMPARE(third.at(3), QStringLiteral("select rhs from alias where lhs='c3q1'"));
}

void tst_TestServer::stopEndsEverySession()
{
    auto server = startServer();
    QVERIFY(server->delay("from info", 60000));
    RefClient idle;
    RefClient waiting;
    RefClient half; // stopped in the middle of its handshake
    QByteArray greeting;
    QVERIFY(idle.handshake(server->port()) && waiting.handshake(server->port()));
    QVERIFY(half.connectTo(server->port()) && half.readPlain(&greeting, 7));
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
    QCOMPARE(answer.texts(), (Rows{{"5.0"}}));
}

QTEST_GUILESS_MAIN(tst_TestServer)
#include "tst_testserver.moc"
