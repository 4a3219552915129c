#include "refclient.h"
#include "testserver.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace StandIn;
using Rows = QList<QStringList>;

class tst_StateFile : public QObject
{
    Q_OBJECT

private slots:
    void demoFixtureColumns_data();
    void demoFixtureColumns();
    void demoFixtureIsBelievable();
    void changesSurviveARestart();
    void brokenDataRefusesToStart_data();
    void brokenDataRefusesToStart();
    void stateFileOfAnotherWriterRefusesToStart_data();
    void stateFileOfAnotherWriterRefusesToStart();
    void stateFileFromBeforeTheWriterMarkIsKept_data();
    void stateFileFromBeforeTheWriterMarkIsKept();
    void includedFilesJoinTheFixture();
};

void tst_StateFile::demoFixtureColumns_data()
{
    // The console reads these tables through column tables of its own: the
    // fixture must answer with the same types in the same order.
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");

    QTest::newRow("info") << "info" << "ProductName:1 Version:1 OsDescription:1 Notice:1 ProductHomepage:1 SSLInstalled:2";
    QTest::newRow("domain") << "domain" << "domain:1:key type:2 alias:1 fwhost:1 ntauthdomain:1 pamservice:1 kerberosrealm:1";
    QTest::newRow("user") << "user"
                          << "name:1:key domain:1:key account_enabled:2 auth_type:2 rights:2 password:5 groups:8 "
                             "qstorage:3 qmessage:2 fullname:1 description:1 sentfolder:1 draftfolder:1 "
                             "hidefldlist:2 showsub:2 msgperpage:2 preflang:1 pin:5";
    QTest::newRow("group") << "group" << "name:1:key domain:1:key description:1 rights:2";
    QTest::newRow("template") << "template"
                              << "tempname:1:key domain:1 description:1 auth_type:2 rights:2 groups:8 qstorage:3 "
                                 "qmessage:2 sentfolder:1 draftfolder:1 hidefldlist:2 showsub:2 msgperpage:2 preflang:1";
    QTest::newRow("alias") << "alias" << "lhs:1:key rhs:1:key domain:1:key";
}

void tst_StateFile::demoFixtureColumns()
{
    QFETCH(QString, table);
    QFETCH(QString, columns);
    QStringList parts;
    for (const Column &c : TestServer().columns(table))
        parts.append(QStringLiteral("%1:%2%3").arg(c.name).arg(c.type).arg(c.key ? ":key" : ""));
    QCOMPARE(parts.join(u' '), columns);
}

void tst_StateFile::demoFixtureIsBelievable()
{
    TestServer server;
    const Rows info = server.rows("info");
    QCOMPARE(info.size(), 1);
    QCOMPARE(info.at(0).mid(0, 2), (QStringList{"Ornel Corvane", "5.0"}));
    QStringList domainTypes;
    for (const QStringList &domain : server.rows("domain"))
        domainTypes.append(domain.at(1));
    domainTypes.sort();
    // a primary and a second local domain, an alias and two forwarding domains
    QCOMPARE(domainTypes, (QStringList{"0", "1", "2", "3", "4"}));
    // the accounts of the company's two mail domains, kept in a file of their own
    QStringList userDomains;
    for (const QStringList &user : server.rows("user"))
        userDomains.append(user.at(1));
    QCOMPARE(userDomains.count(""), 11);
    QCOMPARE(userDomains.count("lakeside.example"), 5);
    QCOMPARE(server.rows("group").size(), 5);
    QCOMPARE(server.rows("template").size(), 3);
    QVERIFY(server.rows("alias").size() >= 3);
    QCOMPARE(server.logNames(), (QStringList{"smtp", "pop3", "imap", "admin", "debug"}));
}

// Changes made through the protocol and through the controls are all kept.
void tst_StateFile::changesSurviveARestart()
{
    QTemporaryDir dir;
    ServerOptions options;
    options.port = 0;
    options.stateFile = dir.filePath("state.json");
    quint32 imapEnd = 0;
    {
        TestServer server(options);
        QVERIFY(server.start());
        QVERIFY(!QFile::exists(options.stateFile)); // nothing changed yet
        QVERIFY(server.appendLogLines("imap", {"appended before the restart"}));
        server.addSyntheticLog("big", 1000); // computed lines, stored ones after them, a trimmed head
        QVERIFY(server.appendLogLines("big", {"stored"}) && server.trimLog("big", 10));
        LogExtent imap;
        QVERIFY(server.logExtent("imap", &imap));
        imapEnd = imap.end;
        RefClient client;
        QVERIFY(client.handshake(server.port()));
        RefClient::Answer answer;
        QVERIFY(client.query("insert alias set lhs='sales', rhs='#sales-team', domain='lakeside.example'", &answer));
        QVERIFY(client.query("update user set qstorage='-1', password='NUL:changed' where name='bob'", &answer));
        QVERIFY(client.query("delete from alias where lhs='abuse'", &answer));
        server.setAuthTypes({{7, "Seven"}, {0, "Zero"}});
        server.setLanguages({"EN"});
        server.setNtDomain("BRANCH", {{"pia", "Pia Holm", "Branch office"}});
        QFile state(options.stateFile);
        QVERIFY(state.open(QIODevice::ReadOnly) && state.readAll().contains("#sales-team")); // each change is written
        QVERIFY(client.query("select LogCtrl(\"clean\", \"pop3\")", &answer));        // so is a log's
        // written whole to a temporary file, then renamed over the state
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"state.json"});
    }
    TestServer restarted(options);
    QVERIFY(restarted.start());
    QStringList aliases;
    for (const QStringList &alias : restarted.rows("alias"))
        aliases.append(alias.join(u'|'));
    QVERIFY(aliases.contains("sales|#sales-team|lakeside.example"));
    QVERIFY(!aliases.join(u' ').contains("abuse"));
    for (const QStringList &user : restarted.rows("user")) {
        if (user.at(0) == "bob")
            QCOMPARE(QStringList({user.at(5), user.at(7)}), QStringList({"changed", "18446744073709551615"}));
    }
    LogExtent pop3;
    QVERIFY(restarted.logExtent("pop3", &pop3));
    QVERIFY(pop3.end > 0 && pop3.first == pop3.end);
    RefClient client;
    QVERIFY(client.handshake(restarted.port()));
    RefClient::Answer answer;
    QVERIFY(client.query(QStringLiteral("select LogData(\"imap\", %1, 5)").arg(imapEnd - 1), &answer));
    QCOMPARE(answer.texts(), (Rows{{"appended before the restart"}}));
    // what the account functions answer is kept as well
    QVERIFY(client.query("select get_auth_types()", &answer));
    QCOMPARE(answer.texts(), (Rows{{"7", "Seven"}, {"0", "Zero"}}));
    QVERIFY(client.query("select get_languages()", &answer));
    QCOMPARE(answer.texts(), (Rows{{"EN"}}));
    QVERIFY(client.query("select ImportNtUsers(\"branch\", \"\")", &answer));
    QCOMPARE(answer.texts(), (Rows{{"pia", "Pia Holm", "Branch office"}}));
    QVERIFY(client.query("select ImportNtUsers(\"CORVANE\", \"\")", &answer)); // the demo's own stay
    QCOMPARE(answer.texts().size(), 4);
    LogExtent big;
    QVERIFY(restarted.logExtent("big", &big));
    QCOMPARE(QList<quint32>({big.first, big.end}), QList<quint32>({10, 1001}));
    QVERIFY(client.query("select LogData(\"big\", 999, 5)", &answer));
    QCOMPARE(answer.texts(), (Rows{{TestServer::syntheticLine("big", 999)}, {"stored"}}));
}

void tst_StateFile::brokenDataRefusesToStart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");

    QTest::newRow("not JSON") << QByteArray("{ tables: ") << "not a JSON object";
    QTest::newRow("row with an unknown column")
        << QByteArray(R"({"tables":[{"name":"t","columns":[{"name":"c","type":1}],"rows":[{"d":"x"}]}]})")
        << "unknown column d";
    QTest::newRow("missing included file")
        << QByteArray(R"({"include":["absent.json"],"tables":[]})") << "cannot read included";
}

void tst_StateFile::brokenDataRefusesToStart()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QFile file(dir.filePath("fixture.json"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    ServerOptions options;
    options.port = 0;
    options.fixture = file.fileName();
    TestServer server(options);
    QString error;
    QVERIFY(!server.start(&error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(!server.isRunning());
}

void tst_StateFile::stateFileOfAnotherWriterRefusesToStart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason"); // after the file's path

    const QString foreign = QStringLiteral(" is not a state file this server wrote; remove it to start "
                                           "again from the fixture's data");
    QTest::newRow("an empty object") << QByteArray("{}") << foreign;
    QTest::newRow("data of no writer") << QByteArray(R"({"tables":[],"logs":[]})") << foreign;
    QTest::newRow("another writer") << QByteArray(R"({"writer":"someone else","tables":[]})") << foreign;
    QTest::newRow("a fixture copied there")
        << QByteArray(R"({"tables":[{"name":"t","columns":[{"name":"c","type":1}],"rows":[]}]})") << foreign;
    QTest::newRow("a fixture with includes")
        << QByteArray(R"({"include":["more.json"],"tables":[{"name":"t","columns":[],"rows":[]}],"logs":[]})")
        << foreign;
    QTest::newRow("tables written by hand")
        << QByteArray(R"({"tables":[{"name":"t","columns":[{"name":"c","type":1}]}],"logs":[]})") << foreign;
    // One of its own whose data are broken says what is wrong with them.
    QTest::newRow("its own, a row with an unknown column")
        << QByteArray(R"({"writer":"ornel-testserver","tables":[{"name":"t","columns":[{"name":"c","type":1}],"rows":[{"d":"x"}]}]})")
        << ": table t: a row names the unknown column d";
}

// A state file the server did not write could be anything, and would pass for an empty
// data set: the server refuses it and says why, instead of failing later on data it lacks.
void tst_StateFile::stateFileOfAnotherWriterRefusesToStart()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QFile file(dir.filePath("state.json"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    ServerOptions options;
    options.port = 0;
    options.stateFile = file.fileName();
    TestServer server(options);
    QString error;
    QVERIFY(!server.start(&error));
    QVERIFY2(error.startsWith(file.fileName() + reason), qPrintable(error));
    QVERIFY(!server.isRunning());
}

void tst_StateFile::stateFileFromBeforeTheWriterMarkIsKept_data()
{
    QTest::addColumn<QStringList>("dropped"); // the keys the older server did not write

    QTest::newRow("tables, logs and functions") << QStringList{"writer"};
    QTest::newRow("tables and logs") << QStringList{"writer", "functions"};
}

// A state file this server wrote before it named itself in them has that server's shape:
// people's demo data in it are kept, not refused.
void tst_StateFile::stateFileFromBeforeTheWriterMarkIsKept()
{
    QFETCH(QStringList, dropped);
    QTemporaryDir dir;
    ServerOptions options;
    options.port = 0;
    options.stateFile = dir.filePath("state.json");
    LogExtent imap;
    {
        TestServer server(options);
        QVERIFY(server.start());
        QVERIFY(server.appendLogLines("imap", {"kept across the restart"}));
        QVERIFY(server.logExtent("imap", &imap));
        RefClient client;
        QVERIFY(client.handshake(server.port()));
        RefClient::Answer answer;
        QVERIFY(client.query("insert alias set lhs='sales', rhs='#sales-team', domain='lakeside.example'", &answer));
    }
    // What the older server wrote: the same file without the keys it did not know.
    QFile file(options.stateFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    for (const QString &key : dropped) {
        QVERIFY(root.contains(key));
        root.remove(key);
    }
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    file.close();

    TestServer restarted(options);
    QString error;
    QVERIFY2(restarted.start(&error), qPrintable(error));
    QStringList aliases;
    for (const QStringList &alias : restarted.rows("alias"))
        aliases.append(alias.join(u'|'));
    QVERIFY(aliases.contains("sales|#sales-team|lakeside.example"));
    LogExtent imapRestarted;
    QVERIFY(restarted.logExtent("imap", &imapRestarted));
    QCOMPARE(imapRestarted.end, imap.end);
}

void tst_StateFile::includedFilesJoinTheFixture()
{
    QTemporaryDir dir;
    const auto writeFile = [&dir](const char* name, const QByteArray& content) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    };
    QVERIFY(writeFile("fixture.json",
                      R"({"include":["more.json"],"tables":[{"name":"a","columns":[{"name":"c","type":"STRING"}],"rows":[{"c":"own"}]}]})"));
    QVERIFY(writeFile("more.json",
                      R"({"tables":[{"name":"b","columns":[{"name":"c","type":"STRING"}],"rows":[{"c":"included"}]}]})"));
    ServerOptions options;
    options.port = 0;
    options.fixture = dir.filePath("fixture.json");
    TestServer server(options);
    QString error;
    QVERIFY2(server.start(&error), qPrintable(error));
    QCOMPARE(server.rows("a"), (Rows{{"own"}}));
    QCOMPARE(server.rows("b"), (Rows{{"included"}}));
}

QTEST_GUILESS_MAIN(tst_StateFile)
#include "tst_statefile.moc"
