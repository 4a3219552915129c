#include "answer_p.h"
#include "catalogue_p.h"
#include "cellencoder_p.h"
#include "executioncontext_p.h"
#include "logstore_p.h"
#include "statementexecutor_p.h"
#include "textform_p.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtTest>

using namespace StandIn;

class tst_StatementExecutor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void answers_data();
    void answers();
    void changes_data();
    void changes();
    void refusedUpdateLeavesTable();
    void authTypesAsConfigured_data();
    void authTypesAsConfigured();
    void cell_data();
    void cell();
    void queueActions_data();
    void queueActions();
    void generatedListsVaryAndRepeat();
    void queueAndRunsFromJson();
    void servicesStartAndStop_data();
    void servicesStartAndStop();

private:
    Answer run(const QString &statement)
    {
        ExecutionContext context(m_catalogue, m_logs);
        const Answer answer = StatementExecutor::execute(statement, context);
        m_dataChanged = context.dataChanged;
        m_changedLogs = context.changedLogs;
        return answer;
    }

    // The named columns of every row, "a|b" a row.
    QStringList dump(const QString &table, const QString &columns) const
    {
        const Table *t = m_catalogue.table(table);
        QStringList rows;
        for (const QStringList &row : t->rows()) {
            QStringList cells;
            for (const QString &column : columns.split(u','))
                cells.append(row.at(t->columnIndex(column)));
            rows.append(cells.join(u'|'));
        }
        return rows;
    }

    Catalogue m_catalogue;
    LogStore m_logs;
    bool m_dataChanged = false;
    QStringList m_changedLogs;
};

void tst_StatementExecutor::init()
{
    Table user("user", {{"name", TypeString, true}, {"domain", TypeString, true}, {"groups", TypeIdList, false},
                        {"qstorage", TypeInt64, false}, {"password", TypePwd, false}, {"blob", TypeBinary, false},
                        {"enabled", TypeInt, false}});
    QVERIFY(user.appendRow({"alice", "", "staff,support", "209715200", "wonder", "00ff", "1"}));
    QVERIFY(user.appendRow({"bob", "", "staff", "104857600", "builder", "", "1"}));
    QVERIFY(user.appendRow({"ines", "lakeside.example", "sales", "0", "", "", "0"}));
    Table nokey("nokey", {{"a", TypeString, false}, {"b", TypeInt, false}});
    QVERIFY(nokey.appendRow({"x", "1"}) && nokey.appendRow({"y", "2"}));
    Table templates("template", {{"tempname", TypeString, true}, {"domain", TypeString, false}});
    QVERIFY(templates.appendRow({"standard", ""}));
    m_catalogue = Catalogue();
    m_catalogue.setTable(user);
    m_catalogue.setTable(nokey);
    m_catalogue.setTable(templates);
    Table phonebook("phonebook", {{"Name", TypeString, true}});
    QVERIFY(phonebook.appendRow({"Provider ISDN"}) && phonebook.appendRow({"Mobile modem"}));
    m_catalogue.setTable(phonebook);
    Table plugins("avirplugins", {{"id", TypeString, true}, {"description", TypeString, false}});
    QVERIFY(plugins.appendRow({"clamscan", "Clam scanner"}) && plugins.appendRow({"avd", "Daemon"}));
    m_catalogue.setTable(plugins);
    m_catalogue.functions().languages = {"en", "DE", "pt-BR"};
    m_catalogue.functions().setNtDomain({"CORVANE", 0, {{"mbrandt", "Maja Brandt", "Purchasing"}, {"jpark", "", ""}}});
    m_catalogue.functions().setNtDomain({"ARCHIVE", 0, {}});
    m_catalogue.functions().setNtDomain({"LOCKED", 113, {{"x", "", ""}}});
    m_logs = LogStore();
    m_logs.add("smtp", {"line zero", "line one", "line two"}, 0);
    m_logs.addSynthetic("big", 100000000);
}

void tst_StatementExecutor::answers_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<quint32>("status");
    QTest::addColumn<QString>("columns"); // name:type:key
    QTest::addColumn<QStringList>("rows");

    const auto refused = [](const char *name, const QString &statement, quint32 status) {
        QTest::newRow(name) << statement << status << QString() << QStringList();
    };
    // Statements the language does not have: parse errors, whatever their names.
    refused("empty", "", 106);
    refused("unknown verb", "selec name from user", 106);
    refused("dangling comma", "select name, from user", 106);
    refused("unterminated text", "insert nokey set a='1", 106);
    refused("escaped closing quote", "insert nokey set a='1\\'", 106);
    refused("assignment with a bare word", "update nokey set a=b", 106);
    refused("delete without condition", "delete from user", 106);
    refused("dangling and", "delete from user where name='x' and", 106);
    refused("bare word argument", "select LogList(smtp)", 106);
    refused("or is not supported", "select name from user where name='a' or name='b'", 106);
    refused("other comparison", "select name from user where name<'b'", 106);
    refused("two statements", "select name from user; delete from user where name='bob'", 106);

    refused("unknown table", "select name from nothing", 109);
    refused("hyphen in a table name", "UPDATE service-smtp SET port = '25'", 109);
    refused("delete, unknown table", "delete from nothing where a='1'", 109);
    refused("unknown column", "select nothing from user", 114);
    refused("insert, unknown column", "insert user set name='zed', nothing='1'", 114);
    refused("unknown function", "select nothing()", 110);
    refused("duplicate key", "insert user set name='alice', domain=''", 111);
    refused("duplicate key in another case", "insert user set name='ALICE', domain=''", 111);
    refused("duplicate key of the domain in another case", "insert user set name='ines', domain='Lakeside.Example'", 111);
    refused("update onto another's key in another case", "update user set name='Bob' where name='alice'", 111);
    refused("template name is the key whatever the domain", "insert template set tempname='Standard', domain='x'", 111);
    refused("NT domain that refuses", "select ImportNtUsers(\"LOCKED\", \"\")", 113);
    refused("NT domain the server does not know", "select ImportNtUsers(\"NOWHERE\", \"\")", 111);
    refused("ImportNtUsers with one argument", "select ImportNtUsers(\"CORVANE\")", 107);
    refused("insert with +=", "insert user set groups+='x', name='z'", 107);
    refused("BINARY that is not hex", "update user set blob='xyz'", 107);
    refused("get_phonebook with an argument", "select get_phonebook('x')", 107);
    refused("get_avir_plugins with an argument", "select get_avir_plugins('x')", 107);
    refused("LogData without range", "select LogData(\"smtp\")", 107);
    refused("LogCtrl other action", "select LogCtrl(\"flush\", \"smtp\")", 107);
    refused("LogCtrl unknown log", "select LogCtrl(\"clean\", \"nope\")", 111);

    QTest::newRow("columns in the order asked") << "select qstorage, name from user where domain=''" << 0u
                                                << "qstorage:3:0|name:1:1" << QStringList{"209715200|alice", "104857600|bob"};
    QTest::newRow("names in any case, answered as the table spells them")
        << "SELECT Name, QSTORAGE FroM User WHERE Domain='lakeside.example'" << 0u << "name:1:1|qstorage:3:0"
        << QStringList{"ines|0"};
    QTest::newRow("star") << "select * from nokey" << 0u << "a:1:0|b:2:0" << QStringList{"x|1", "y|2"};
    QTest::newRow("new lines as blanks, number value") << "select name\nfrom user\twhere enabled=0" << 0u << "name:1:1"
                                                       << QStringList{"ines"};
    QTest::newRow("list membership") << "select name from user where groups='support'" << 0u << "name:1:1"
                                     << QStringList{"alice"};
    QTest::newRow("conditions joined, in text form")
        << "select name from user where groups='staff' and enabled='1' and blob='00FF'" << 0u << "name:1:1"
        << QStringList{"alice"};
    QTest::newRow("get_auth_types, any case") << "SELECT GET_AUTH_TYPES()" << 0u << "ID:2:1|Name:1:0"
                                              << QStringList{"0|Internal", "1|NT domain", "2|PAM", "3|Kerberos 5"};
    QTest::newRow("get_languages as spelled") << "select get_languages()" << 0u << "language:1:1"
                                              << QStringList{"en", "DE", "pt-BR"};
    QTest::newRow("get_phonebook, the lines in their order") << "SELECT get_phonebook()" << 0u << "Name:1:0"
                                                             << QStringList{"Provider ISDN", "Mobile modem"};
    QTest::newRow("get_avir_plugins, identifier and description in order")
        << "SELECT get_avir_plugins()" << 0u << "id:1:0|description:1:0"
        << QStringList{"clamscan|Clam scanner", "avd|Daemon"};
    QTest::newRow("ImportNtUsers, NT domain in any case") << "select ImportNtUsers(\"corvane\", \"lakeside.example\")"
        << 0u << "username:1:0|fullname:1:0|description:1:0" << QStringList{"mbrandt|Maja Brandt|Purchasing", "jpark||"};
    QTest::newRow("ImportNtUsers, no accounts") << "select ImportNtUsers(\"ARCHIVE\", \"\")" << 0u
        << "username:1:0|fullname:1:0|description:1:0" << QStringList();
    QTest::newRow("LogList of all, blank before bracket") << "select LogList ( )" << 0u
        << "id:2:1|name:1:0|end:2:0|first:2:0" << QStringList{"0|smtp|3|0", "1|big|100000000|0"};
    QTest::newRow("LogList of one, any case") << "select LogList('SMTP')" << 0u << "id:2:1|name:1:0|end:2:0|first:2:0"
                                              << QStringList{"0|smtp|3|0"};
    QTest::newRow("LogData past the end") << "select LogData(\"smtp\", 2, 10)" << 0u << "line:1:0" << QStringList{"line two"};
    QTest::newRow("LogData unknown log") << "select LogData(\"nope\", 0, 5)" << 0u << "line:1:0" << QStringList();
}

// Reads and refusals: their answer, and no change anywhere.
void tst_StatementExecutor::answers()
{
    QFETCH(QString, statement);
    QFETCH(quint32, status);
    QFETCH(QString, columns);
    QFETCH(QStringList, rows);
    const Answer answer = run(statement);
    QCOMPARE(answer.status(), status);
    QStringList parts;
    for (const Column &c : answer.columns())
        parts.append(QStringLiteral("%1:%2:%3").arg(c.name).arg(c.type).arg(c.key ? 1 : 0));
    QCOMPARE(parts.join(u'|'), columns);
    QStringList joined;
    for (const QStringList &row : answer.rows())
        joined.append(row.join(u'|'));
    QCOMPARE(joined, rows);
    QVERIFY(!m_dataChanged && m_changedLogs.isEmpty());
    QCOMPARE(dump("user", "name,domain,groups,enabled"),
             (QStringList{"alice||staff,support|1", "bob||staff|1", "ines|lakeside.example|sales|0"}));
}

void tst_StatementExecutor::changes_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("affected");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("insert, columns left out are empty") << "insert user set name='amy'" << 1 << "user"
        << "name,domain,groups,qstorage,enabled"
        << QStringList{"alice||staff,support|209715200|1", "bob||staff|104857600|1", "ines|lakeside.example|sales|0|0", "amy||||"};
    QTest::newRow("a name again in another domain") << "insert user set name='Alice', domain='lakeside.example'" << 1
        << "user" << "name,domain" << QStringList{"alice|", "bob|", "ines|lakeside.example", "Alice|lakeside.example"};
    QTest::newRow("a password is stored without its prefix") << "update user set password='NUL:new one' where name='bob'"
        << 1 << "user" << "name,password" << QStringList{"alice|wonder", "bob|new one", "ines|"};
    QTest::newRow("escapes, quotes, blanks and keywords kept")
        << "insert nokey set a='  select \" where and \\\\ \\\" \\' \\n \\r \\t', b=\"it's\"" << 1 << "nokey" << "a"
        << QStringList{"x", "y", "  select \" where and \\ \" ' \n \r \t"};
    QTest::newRow("table without key takes duplicates") << "insert nokey set a='x', b='1'" << 1 << "nokey" << "a,b"
                                                        << QStringList{"x|1", "y|2", "x|1"};
    QTest::newRow("update by key") << "update user set qstorage='1048576' where name='alice' and domain=''" << 1 << "user"
                                   << "name,qstorage" << QStringList{"alice|1048576", "bob|104857600", "ines|0"};
    QTest::newRow("update of a key column") << "update user set name='alicia' where name='alice' and domain=''" << 1
                                            << "user" << "name" << QStringList{"alicia", "bob", "ines"};
    QTest::newRow("no blanks at all") << "update user set enabled='7',qstorage='1' where name='bob'and domain=''" << 1
                                      << "user" << "name,enabled,qstorage" << QStringList{"alice|1|209715200", "bob|7|1", "ines|0|0"};
    QTest::newRow("update without condition") << "update user set enabled='0'" << 3 << "user" << "name,enabled"
                                              << QStringList{"alice|0", "bob|0", "ines|0"};
    QTest::newRow("condition value in text form") << "update user set enabled='7' where qstorage='  104857600'" << 1
                                                  << "user" << "name,enabled" << QStringList{"alice|1", "bob|7", "ines|0"};
    QTest::newRow("add a list item") << "UPDATE user SET groups+=\"sales\" WHERE name=\"alice\" AND domain=\"\"" << 1
                                     << "user" << "name,groups" << QStringList{"alice|staff,support,sales", "bob|staff", "ines|sales"};
    QTest::newRow("remove a list item") << "UPDATE user SET groups -=\"staff\" WHERE Domain = \"\"" << 2 << "user"
                                        << "name,groups" << QStringList{"alice|support", "bob|", "ines|sales"};
    QTest::newRow("list condition means contains") << "update user set enabled='5' where groups='support'" << 1 << "user"
                                                   << "name,enabled" << QStringList{"alice|5", "bob|1", "ines|0"};
    QTest::newRow("list condition is no substring test") << "update user set enabled='5' where groups='sup'" << 0
        << "user" << "name,enabled" << QStringList{"alice|1", "bob|1", "ines|0"};
    QTest::newRow("delete by list membership") << "delete from user where groups='staff'" << 2 << "user" << "name"
                                               << QStringList{"ines"};
}

void tst_StatementExecutor::changes()
{
    QFETCH(QString, statement);
    QFETCH(int, affected);
    QFETCH(QString, table);
    QFETCH(QString, columns);
    QFETCH(QStringList, rows);
    const Answer answer = run(statement);
    QCOMPARE(answer.status(), quint32(StatusOk));
    QCOMPARE(answer.affectedRows(), quint32(affected));
    QCOMPARE(m_dataChanged, affected > 0);
    QCOMPARE(dump(table, columns), rows);
}

// Both rows of the primary domain match; the second would take the first's key.
void tst_StatementExecutor::refusedUpdateLeavesTable()
{
    QCOMPARE(run("update user set name='same', qstorage='1' where domain=''").status(), quint32(StatusNotPossible));
    QCOMPARE(dump("user", "name,qstorage"), (QStringList{"alice|209715200", "bob|104857600", "ines|0"}));
    QVERIFY(!m_dataChanged);
}

void tst_StatementExecutor::servicesStartAndStop_data()
{
    QTest::addColumn<bool>("startsIgnored");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<quint32>("status");
    QTest::addColumn<QStringList>("running"); // SMTP's, then POP3's

    QTest::newRow("start") << false << "SELECT start_service(\"POP3\")" << quint32(StatusOk)
                           << QStringList{"1", "1"};
    QTest::newRow("stop") << false << "SELECT stop_service(\"SMTP\")" << quint32(StatusOk)
                          << QStringList{"0", "0"};
    QTest::newRow("name in another case") << false << "select START_SERVICE('pop3')"
                                          << quint32(StatusOk) << QStringList{"1", "1"};
    QTest::newRow("start ignored") << true << "SELECT start_service(\"POP3\")" << quint32(StatusOk)
                                   << QStringList{"1", "0"};
    QTest::newRow("stop while starts are ignored")
        << true << "SELECT stop_service(\"SMTP\")" << quint32(StatusOk) << QStringList{"0", "0"};
    QTest::newRow("unknown service") << false << "SELECT start_service(\"FTP\")"
                                     << quint32(StatusNotPossible) << QStringList{"1", "0"};
    QTest::newRow("no service named") << false << "SELECT stop_service()"
                                      << quint32(StatusWrongQuery) << QStringList{"1", "0"};
}

void tst_StatementExecutor::servicesStartAndStop()
{
    QFETCH(bool, startsIgnored);
    QFETCH(QString, statement);
    QFETCH(quint32, status);
    QFETCH(QStringList, running);
    const QList<Column> columns{{"name", TypeString, true}, {"port", TypePort, false},
                                {"running", TypeInt, false}};
    Table smtp("service-smtp", columns);
    QVERIFY(smtp.appendRow({"SMTP", "25", "1"}));
    Table pop3("service-pop3", columns);
    QVERIFY(pop3.appendRow({"POP3", "110", "0"}));
    m_catalogue.setTable(smtp);
    m_catalogue.setTable(pop3);
    m_catalogue.functions().serviceStartsIgnored = startsIgnored;

    QCOMPARE(run(statement).status(), status);
    QCOMPARE(dump("service-smtp", "running") + dump("service-pop3", "running"), running);
    QCOMPARE(run("SELECT running FROM service-pop3").rows(), QList<QStringList>{{running.at(1)}});
}

void tst_StatementExecutor::authTypesAsConfigured_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("none") << QList<int>{} << QStringList();
    QTest::newRow("in another order") << QList<int>{3, 0} << QStringList{"3|type 3", "0|type 0"};
    QTest::newRow("six") << QList<int>{0, 1, 2, 3, 4, 5}
                         << QStringList{"0|type 0", "1|type 1", "2|type 2", "3|type 3", "4|type 4", "5|type 5"};
}

void tst_StatementExecutor::authTypesAsConfigured()
{
    QFETCH(QList<int>, ids);
    QFETCH(QStringList, rows);
    m_catalogue.functions().authTypes.clear();
    for (int id : ids)
        m_catalogue.functions().authTypes.append({id, QStringLiteral("type %1").arg(id)});
    const Answer answer = run("select get_auth_types()");
    QCOMPARE(answer.status(), quint32(StatusOk));
    QStringList joined;
    for (const QStringList &row : answer.rows())
        joined.append(row.join(u'|'));
    QCOMPARE(joined, rows);
}

// Values as statements write them: their stored text form and the cell an answer carries.
void tst_StatementExecutor::cell_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");   // as a statement writes it
    QTest::addColumn<QString>("stored"); // a null string: refused
    QTest::addColumn<QByteArray>("hex"); // the cell: value length word, then the value

    QTest::newRow("STRING keeps blanks") << int(TypeString) << " x " << " x " << QByteArray("00000004" "20782000");
    QTest::newRow("STRING in UTF-8") << int(TypeString) << QString::fromUtf8("Žu") << QString::fromUtf8("Žu")
                                     << QByteArray("00000004" "c5bd7500");
    QTest::newRow("PWD prefix dropped, never sent") << int(TypePwd) << "NUL:secret" << "secret" << QByteArray("00000001" "00");
    QTest::newRow("INT blanks and sign") << int(TypeInt) << "  -42" << "-42" << QByteArray("00000004" "ffffffd6");
    QTest::newRow("INT plus sign, stops at a letter") << int(TypeInt) << "+12abc" << "12" << QByteArray("00000004" "0000000c");
    QTest::newRow("INT null") << int(TypeInt) << "" << "" << QByteArray("00000000");
    QTest::newRow("INT64 minus one") << int(TypeInt64) << "-1" << "18446744073709551615"
                                     << QByteArray("00000008" "ffffffffffffffff");
    QTest::newRow("IPADDR network order") << int(TypeIpAddr) << "192.168.1.254" << "192.168.1.254"
                                          << QByteArray("00000004" "c0a801fe");
    QTest::newRow("IPADDR not an address") << int(TypeIpAddr) << "not an address" << "255.255.255.255"
                                           << QByteArray("00000004" "ffffffff");
    QTest::newRow("PORT network order") << int(TypePort) << "8080" << "8080" << QByteArray("00000002" "1f90");
    QTest::newRow("PORT the highest") << int(TypePort) << "65535" << "65535" << QByteArray("00000002" "ffff");
    QTest::newRow("PORT beyond 16 bits refused") << int(TypePort) << "70000" << QString() << QByteArray();
    QTest::newRow("INT unsigned form") << int(TypeInt) << "4294967295" << "-1" << QByteArray("00000004" "ffffffff");
    QTest::newRow("INT the lowest") << int(TypeInt) << "-2147483648" << "-2147483648" << QByteArray("00000004" "80000000");
    QTest::newRow("INT beyond 32 bits refused") << int(TypeInt) << "4294967296" << QString() << QByteArray();
    QTest::newRow("INT below 32 bits refused") << int(TypeInt) << "-2147483649" << QString() << QByteArray();
    QTest::newRow("INT twenty digits refused") << int(TypeInt) << "18446744073709551617" << QString() << QByteArray();
    QTest::newRow("BINARY lower-cased") << int(TypeBinary) << "FF00" << "ff00" << QByteArray("00000002" "ff00");
    QTest::newRow("BINARY odd length") << int(TypeBinary) << "abc" << QString() << QByteArray();
    QTest::newRow("IDLIST with an empty item") << int(TypeIdList) << "a,,bc" << "a,,bc"
                                               << QByteArray("00000016" "00000002" "6100" "00000001" "00" "00000003" "626300" "00000000");
    QTest::newRow("IDLIST Latin-1 item") << int(TypeIdList) << QString::fromUtf8("é") << QString::fromUtf8("é")
                                         << QByteArray("0000000a" "00000002" "e900" "00000000");
    QTest::newRow("VOID carries nothing") << int(TypeVoid) << "x" << "" << QByteArray("00000000");
    QTest::newRow("unknown code carries nothing") << 9 << "x" << "x" << QByteArray("00000000");
}

void tst_StatementExecutor::cell()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(QByteArray, hex);
    QString result;
    QCOMPARE(TextForm::normalise(type, text, &result), !stored.isNull());
    if (stored.isNull())
        return;
    QCOMPARE(result, stored);
    QCOMPARE(CellEncoder::cell(type, result).toHex(), hex);
}

void tst_StatementExecutor::queueActions_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("ids"); // left in the queue

    QTest::newRow("remove") << "SELECT queue_remove(\"Q\\'2\")" << 0 << QStringList{"Q1"};
    QTest::newRow("remove, unknown id") << "SELECT queue_remove(\"Q3\")" << int(StatusNotPossible)
                                        << QStringList{"Q1", "Q'2"};
    QTest::newRow("remove without id") << "SELECT queue_remove()" << int(StatusWrongQuery) << QStringList{"Q1", "Q'2"};
    QTest::newRow("try now keeps it") << "SELECT queue_rejuvenate(\"Q1\")" << 0 << QStringList{"Q1", "Q'2"};
    QTest::newRow("try now, unknown id") << "SELECT queue_rejuvenate(\"q1\")" << int(StatusNotPossible)
                                         << QStringList{"Q1", "Q'2"};
}

void tst_StatementExecutor::queueActions()
{
    QFETCH(QString, statement);
    QFETCH(int, status);
    QFETCH(QStringList, ids);

    m_catalogue.functions().queue = {{"Q1", "c", "later", "1", "a", "b"}, {"Q'2", "c", "later", "2", "a", "b"}};
    const Answer answer = run(statement);
    QCOMPARE(int(answer.status()), status);
    QCOMPARE(m_dataChanged, status == 0);
    QStringList left;
    for (const QStringList &message : m_catalogue.functions().queue)
        left << message.at(0);
    QCOMPARE(left, ids);
    if (statement.contains(QLatin1String("rejuvenate")) && status == 0)
        QVERIFY(m_catalogue.functions().queue.at(0).at(2) != QLatin1String("later"));
    const Answer listed = run(QStringLiteral("select show_queue()"));
    QCOMPARE(listed.rows().size(), ids.size());
    QCOMPARE(listed.columns().at(3), (Column{"Size", TypeInt, false}));
}

void tst_StatementExecutor::generatedListsVaryAndRepeat()
{
    const QList<QStringList> queue = FunctionData::generatedQueue(1000);
    QCOMPARE(queue, FunctionData::generatedQueue(1000));
    QSet<QString> ids;
    for (const QStringList &message : queue)
        ids.insert(message.at(0));
    QVERIFY(ids.size() > 990); // made-up ids rarely meet
    QVERIFY(queue.first().at(3) != queue.at(1).at(3));
    const QList<QStringList> connections = FunctionData::generatedConnections(3);
    QCOMPARE(connections.size(), 3);
    QVERIFY(connections.at(0).at(3).startsWith(QLatin1String("10.")));
}

void tst_StatementExecutor::queueAndRunsFromJson()
{
    FunctionData data;
    QString error;
    const QJsonObject json = QJsonDocument::fromJson(R"({
        "queue": {"messages": [{"Id": "A1", "Size": 12, "From": "a@x"}], "generate": 2},
        "connections": {"list": [{"protocol": "SMTP", "time": 5}]},
        "runs": {"RUN_POP3": {"results": [0]}, "run_odmr": {"refuse": 111}}})").object();
    QVERIFY(data.mergeJson(json, &error));
    QCOMPARE(data.queue.size(), 3);
    QCOMPARE(data.queue.first(), (QStringList{"A1", "", "", "12", "a@x", ""}));
    QCOMPARE(data.connections.first(), (QStringList{"SMTP", "", "5", "", "", ""}));
    QCOMPARE(data.runResult("run_pop3").results, QList<int>{0});
    QCOMPARE(data.runResult("run_odmr").refusal, quint32(111));
    QCOMPARE(data.runResult("run_queue").results, QList<int>{1});
    // Kept whole in a state file.
    FunctionData again;
    QVERIFY(again.mergeJson(data.toJson(), &error));
    QCOMPARE(again.queue, data.queue);
    QCOMPARE(again.runResult("run_odmr").refusal, quint32(111));
}

QTEST_APPLESS_MAIN(tst_StatementExecutor)
#include "tst_statementexecutor.moc"
