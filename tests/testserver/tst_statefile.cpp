#include "catalogue_p.h"
#include "logstore_p.h"
#include "refclient.h"
#include "statefile_p.h"
#include "testserver.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace StandIn;

namespace {

QString describeColumns(const QList<Column> &columns)
{
    QStringList parts;
    for (const Column &c : columns)
        parts.append(QStringLiteral("%1:%2%3").arg(c.name).arg(c.type).arg(c.key ? ":key" : ""));
    return parts.join(u' ');
}

int countWhere(const QList<QStringList> &rows, int column, const QString &value)
{
    int count = 0;
    for (const QStringList &row : rows)
        count += row.value(column) == value ? 1 : 0;
    return count;
}

} // namespace

class tst_StateFile : public QObject
{
    Q_OBJECT

private slots:
    void demoFixtureHasTheTablesTheConsoleReads_data();
    void demoFixtureHasTheTablesTheConsoleReads();
    void demoFixtureIsBelievable();
    void changesSurviveARestart();
    void stateFileWinsOverTheFixture();
    void brokenDataRefusesToStart_data();
    void brokenDataRefusesToStart();
    void writeReplacesTheFileWhole();
};

void tst_StateFile::demoFixtureHasTheTablesTheConsoleReads_data()
{
    // The column tables through which the console reads these tables: the
    // fixture must answer with the same types in the same order.
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");

    QTest::newRow("info") << "info"
                          << "ProductName:1 Version:1 OsDescription:1 Notice:1 ProductHomepage:1 SSLInstalled:2";
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

void tst_StateFile::demoFixtureHasTheTablesTheConsoleReads()
{
    QFETCH(QString, table);
    QFETCH(QString, columns);
    TestServer server;
    QCOMPARE(describeColumns(server.columns(table)), columns);
}

void tst_StateFile::demoFixtureIsBelievable()
{
    TestServer server;
    const QList<QStringList> info = server.rows("info");
    QCOMPARE(info.size(), 1);
    QCOMPARE(info.at(0).mid(0, 2), (QStringList{"Ornel Corvane", "5.0"}));

    const QList<QStringList> domains = server.rows("domain");
    QCOMPARE(countWhere(domains, 1, "0"), 1); // one primary domain
    QCOMPARE(countWhere(domains, 1, "1"), 1); // a second local one
    QCOMPARE(domains.size(), 4);              // and an alias and a forwarding domain

    const QList<QStringList> users = server.rows("user");
    QCOMPARE(users.size(), 12);
    QCOMPARE(server.rows("group").size(), 3);
    QCOMPARE(server.rows("template").size(), 2);
    QVERIFY(server.rows("alias").size() >= 3);
    // every group a user names exists in the user's domain
    QSet<QString> groups;
    for (const QStringList &group : server.rows("group"))
        groups.insert(group.at(0) + '@' + group.at(1));
    for (const QStringList &user : users) {
        for (const QString &group : user.at(6).split(',', Qt::SkipEmptyParts))
            QVERIFY2(groups.contains(group + '@' + user.at(1)), qPrintable(user.at(0) + " in " + group));
    }
    QCOMPARE(server.logNames(), (QStringList{"smtp", "pop3", "imap", "admin", "debug"}));
    for (const QString &log : server.logNames()) {
        LogExtent extent;
        QVERIFY(server.logExtent(log, &extent));
        QVERIFY(extent.end - extent.first >= 5);
    }
}

void tst_StateFile::changesSurviveARestart()
{
    QTemporaryDir dir;
    ServerOptions options;
    options.port = 0;
    options.stateFile = dir.filePath("state.json");
    {
        TestServer server(options);
        QVERIFY(server.start());
        QVERIFY(!QFile::exists(options.stateFile)); // nothing changed yet
        RefClient client;
        QVERIFY(client.handshake(server.port()));
        RefClient::Answer answer;
        QVERIFY(client.query("insert alias set lhs='sales', rhs='#sales', domain='lakeside.example'", &answer));
        QVERIFY(client.query("update user set qstorage='1073741824', password='NUL:changed' where name='bob' and domain=''", &answer));
        QVERIFY(client.query("delete from alias where lhs='abuse' and rhs='admin' and domain=''", &answer));
        QVERIFY(client.query("select LogCtrl(\"clean\", \"pop3\")", &answer));
        QVERIFY(server.appendLogLines("imap", {"appended before the restart"}));
        QVERIFY(QFile::exists(options.stateFile));
        QVERIFY(!QFile::exists(options.stateFile + ".tmp"));
    }
    TestServer restarted(options);
    QVERIFY(restarted.start());
    RefClient client;
    QVERIFY(client.handshake(restarted.port()));
    RefClient::Answer answer;
    QVERIFY(client.query("select rhs from alias where lhs='sales'", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"#sales"}}));
    QVERIFY(client.query("select lhs from alias where lhs='abuse'", &answer));
    QVERIFY(answer.texts().isEmpty());
    QVERIFY(client.query("select qstorage from user where name='bob'", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"1073741824"}}));
    const QList<QStringList> users = restarted.rows("user");
    for (const QStringList &user : users) {
        if (user.at(0) == "bob")
            QCOMPARE(user.at(5), QStringLiteral("changed"));
    }
    LogExtent pop3;
    QVERIFY(restarted.logExtent("pop3", &pop3));
    QCOMPARE(pop3.first, pop3.end);
    QVERIFY(pop3.end > 0);
    QVERIFY(client.query("select LogList(\"imap\")", &answer));
    const quint32 end = answer.texts().value(0).value(2).toUInt();
    QVERIFY(client.query(QStringLiteral("select LogData(\"imap\", %1, 1)").arg(end - 1), &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"appended before the restart"}}));
}

void tst_StateFile::stateFileWinsOverTheFixture()
{
    QTemporaryDir dir;
    ServerOptions options;
    options.port = 0;
    options.stateFile = dir.filePath("state.json");
    {
        TestServer server(options);
        server.setTable("extra", {{"k", TypeString, true}}, {{"kept"}});
    }
    options.fixture = dir.filePath("no-such-fixture.json"); // never read while a state exists
    TestServer server(options);
    QString error;
    QVERIFY2(server.start(&error), qPrintable(error));
    QCOMPARE(server.rows("extra"), (QList<QStringList>{{"kept"}}));
    QVERIFY(server.tableNames().contains("user"));
}

void tst_StateFile::brokenDataRefusesToStart_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");

    QTest::newRow("not JSON") << QByteArray("{ tables: ") << "not a JSON object";
    QTest::newRow("unknown type") << QByteArray(R"({"tables":[{"name":"t","columns":[{"name":"c","type":"FLOAT"}]}]})")
                                  << "known type";
    QTest::newRow("row with an unknown column")
        << QByteArray(R"({"tables":[{"name":"t","columns":[{"name":"c","type":1}],"rows":[{"d":"x"}]}]})")
        << "unknown column d";
    QTest::newRow("BINARY that is not hex")
        << QByteArray(R"({"tables":[{"name":"t","columns":[{"name":"c","type":"BINARY"}],"rows":[{"c":"xyz"}]}]})")
        << "not a text form";
    QTest::newRow("log without a name") << QByteArray(R"({"logs":[{"lines":["x"]}]})") << "without a name";
}

void tst_StateFile::brokenDataRefusesToStart()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QFile file(dir.filePath("fixture.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
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

void tst_StateFile::writeReplacesTheFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("state.json");
    Catalogue catalogue;
    catalogue.setTable(Table("t", {{"c", TypeInt64, true}}));
    catalogue.table("t")->appendRow({"-1"});
    LogStore logs;
    logs.add("smtp", {"x"}, 3);
    QString error;
    QVERIFY2(StateFile::write(path, catalogue, logs, &error), qPrintable(error));
    catalogue.table("t")->appendRow({"2"});
    QVERIFY2(StateFile::write(path, catalogue, logs, &error), qPrintable(error));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"state.json"});

    Catalogue readCatalogue;
    LogStore readLogs;
    QVERIFY2(StateFile::read(path, &readCatalogue, &readLogs, &error), qPrintable(error));
    QCOMPARE(readCatalogue.table("T")->rows(), (QList<QStringList>{{"18446744073709551615"}, {"2"}}));
    QCOMPARE(readLogs.lines("smtp", 0, 10), QStringList{"x"});

    QVERIFY(!StateFile::write(dir.filePath("no/such/folder/state.json"), catalogue, logs, &error));
    QVERIFY(error.contains("state.json"));
}

QTEST_GUILESS_MAIN(tst_StateFile)
#include "tst_statefile.moc"
