#include "answer_p.h"
#include "catalogue_p.h"
#include "executioncontext_p.h"
#include "logstore_p.h"
#include "statementexecutor_p.h"

#include <QJsonDocument>
#include <QtTest>

using namespace StandIn;

namespace {

const char *const TablesJson = R"([
  {"name": "user",
   "columns": [{"name": "name", "type": "STRING", "key": true}, {"name": "domain", "type": "STRING", "key": true},
               {"name": "groups", "type": "IDLIST"}, {"name": "qstorage", "type": "INT64"},
               {"name": "password", "type": "PWD"}, {"name": "ip", "type": "IPADDR"}, {"name": "port", "type": "PORT"},
               {"name": "blob", "type": "BINARY"}, {"name": "enabled", "type": "INT"}],
   "rows": [{"name": "alice", "domain": "", "groups": "staff,support", "qstorage": "209715200", "password": "wonder",
             "ip": "10.0.0.1", "port": "25", "blob": "00ff", "enabled": "1"},
            {"name": "bob", "domain": "", "groups": "staff", "qstorage": "104857600", "password": "builder",
             "ip": "10.0.0.2", "port": "110", "blob": "", "enabled": "1"},
            {"name": "ines", "domain": "lakeside.example", "groups": "sales", "qstorage": "0", "password": "",
             "ip": "", "port": "", "blob": "", "enabled": "0"}]},
  {"name": "nokey",
   "columns": [{"name": "a", "type": 1}, {"name": "b", "type": 2}],
   "rows": [{"a": "x", "b": "1"}, {"a": "y", "b": "2"}]}
])";

QString describeColumns(const QList<Column> &columns)
{
    QStringList parts;
    for (const Column &c : columns)
        parts.append(QStringLiteral("%1:%2:%3").arg(c.name).arg(c.type).arg(c.key ? 1 : 0));
    return parts.join(u'|');
}

QStringList joinRows(const QList<QStringList> &rows)
{
    QStringList joined;
    for (const QStringList &row : rows)
        joined.append(row.join(u'|'));
    return joined;
}

} // namespace

class tst_StatementExecutor : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void statuses_data();
    void statuses();
    void changes_data();
    void changes();
    void refusedUpdateLeavesTable();
    void selects_data();
    void selects();
    void functions_data();
    void functions();
    void logCtrlEmptiesTheLog();
    void readsLeaveNoChangeMark();

private:
    Answer run(const QString &statement)
    {
        ExecutionContext context(m_catalogue, m_logs);
        const Answer answer = StatementExecutor::execute(statement, context);
        m_dataChanged = context.dataChanged;
        m_changedLogs = context.changedLogs;
        return answer;
    }

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
    QString error;
    QVERIFY2(Catalogue::fromJson(QJsonDocument::fromJson(TablesJson).array(), &m_catalogue, &error),
             qPrintable(error));
    m_logs = LogStore();
    m_logs.add("smtp", {"line zero", "line one", "line two"}, 0);
    m_logs.addSynthetic("big", 100000000);
}

void tst_StatementExecutor::statuses_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<quint32>("status");

    QTest::newRow("select, any case") << "SELECT NAME FROM USER" << 0u;
    QTest::newRow("unknown table") << "select name from nothing" << 109u;
    QTest::newRow("unknown column") << "select nothing from user" << 114u;
    QTest::newRow("unknown column in condition") << "select name from user where nothing='1'" << 114u;
    QTest::newRow("unknown function") << "select nothing()" << 110u;
    QTest::newRow("parse error") << "selec name from user" << 106u;
    QTest::newRow("delete with empty condition") << "delete from user where " << 106u;
    QTest::newRow("delete without condition") << "delete from user" << 106u;
    QTest::newRow("duplicate key") << "insert user set name='alice', domain=''" << 111u;
    QTest::newRow("keys compare exactly") << "insert user set name='Alice', domain=''" << 0u;
    QTest::newRow("same name, other domain") << "insert user set name='alice', domain='lakeside.example'" << 0u;
    QTest::newRow("insert, unknown column") << "insert user set name='zed', nothing='1'" << 114u;
    QTest::newRow("insert, unknown table") << "insert nothing set a='1'" << 109u;
    QTest::newRow("insert with +=") << "insert user set groups+='x', name='z'" << 107u;
    QTest::newRow("+= on a number") << "update user set enabled+='1'" << 107u;
    QTest::newRow("BINARY that is not hex") << "update user set blob='xyz' where name='alice'" << 107u;
    QTest::newRow("update onto another key") << "update user set name='bob' where name='alice' and domain=''" << 111u;
    QTest::newRow("update, unknown table") << "update nothing set a='1'" << 109u;
    QTest::newRow("update, unknown column") << "update user set nothing='1'" << 114u;
    QTest::newRow("delete, unknown table") << "delete from nothing where a='1'" << 109u;
    QTest::newRow("delete, unknown column") << "delete from user where nothing='1'" << 114u;
    QTest::newRow("table without key takes duplicates") << "insert nokey set a='x', b='1'" << 0u;
    QTest::newRow("LogData without range") << "select LogData(\"smtp\")" << 107u;
    QTest::newRow("LogData with a word") << "select LogData(\"smtp\", \"x\", 2)" << 107u;
    QTest::newRow("LogCtrl other action") << "select LogCtrl(\"flush\", \"smtp\")" << 107u;
    QTest::newRow("LogCtrl unknown log") << "select LogCtrl(\"clean\", \"nope\")" << 111u;
    QTest::newRow("get_auth_types takes nothing") << "select get_auth_types(1)" << 107u;
    QTest::newRow("function name in any case") << "SELECT GET_AUTH_TYPES()" << 0u;
}

void tst_StatementExecutor::statuses()
{
    QFETCH(QString, statement);
    QFETCH(quint32, status);
    QCOMPARE(run(statement).status(), status);
}

void tst_StatementExecutor::changes_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("affected");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("rows");

    const QString all = "name,domain,groups,qstorage,password,ip,port,blob,enabled";
    QTest::newRow("insert, values in text form")
        << "insert user set name='zed', domain='x.example', qstorage='-1', ip='10.0.0.9', port='70000', "
           "password='NUL:pw', groups='a,b', blob='FF', enabled=''"
        << 1 << "user" << all
        << QStringList{"alice||staff,support|209715200|wonder|10.0.0.1|25|00ff|1",
                       "bob||staff|104857600|builder|10.0.0.2|110||1",
                       "ines|lakeside.example|sales|0|||||0",
                       "zed|x.example|a,b|18446744073709551615|pw|10.0.0.9|4464|ff|"};
    QTest::newRow("insert, columns left out are empty")
        << "insert user set name='amy'" << 1 << "user" << "name,domain,groups,qstorage,enabled"
        << QStringList{"alice||staff,support|209715200|1", "bob||staff|104857600|1",
                       "ines|lakeside.example|sales|0|0", "amy||||"};
    QTest::newRow("update by key")
        << "update user set qstorage='1048576' where name='alice' and domain=''" << 1 << "user" << "name,qstorage"
        << QStringList{"alice|1048576", "bob|104857600", "ines|0"};
    QTest::newRow("update of a key column")
        << "update user set name='alicia' where name='alice' and domain=''" << 1 << "user" << "name,domain"
        << QStringList{"alicia|", "bob|", "ines|lakeside.example"};
    QTest::newRow("update without condition")
        << "update user set enabled='0'" << 3 << "user" << "name,enabled"
        << QStringList{"alice|0", "bob|0", "ines|0"};
    QTest::newRow("update matching nothing")
        << "update user set enabled='0' where name='nobody'" << 0 << "user" << "name,enabled"
        << QStringList{"alice|1", "bob|1", "ines|0"};
    QTest::newRow("condition value in text form")
        << "update user set enabled='7' where qstorage='  104857600'" << 1 << "user" << "name,enabled"
        << QStringList{"alice|1", "bob|7", "ines|0"};
    QTest::newRow("add a list item")
        << "UPDATE user SET groups+=\"sales\" WHERE name=\"alice\" AND domain=\"\"" << 1 << "user" << "name,groups"
        << QStringList{"alice|staff,support,sales", "bob|staff", "ines|sales"};
    QTest::newRow("add an item already there")
        << "UPDATE user SET groups+=\"staff\" WHERE name=\"bob\" AND domain=\"\"" << 1 << "user" << "name,groups"
        << QStringList{"alice|staff,support", "bob|staff", "ines|sales"};
    QTest::newRow("add to an empty list")
        << "update user set groups+='x' where name='ines'" << 1 << "user" << "name,groups"
        << QStringList{"alice|staff,support", "bob|staff", "ines|sales,x"};
    QTest::newRow("remove a list item")
        << "UPDATE user SET groups -=\"staff\" WHERE Domain = \"\"" << 2 << "user" << "name,groups"
        << QStringList{"alice|support", "bob|", "ines|sales"};
    QTest::newRow("list condition means contains")
        << "update user set enabled='5' where groups='support'" << 1 << "user" << "name,enabled"
        << QStringList{"alice|5", "bob|1", "ines|0"};
    QTest::newRow("list condition is no substring test")
        << "update user set enabled='5' where groups='sup'" << 0 << "user" << "name,enabled"
        << QStringList{"alice|1", "bob|1", "ines|0"};
    QTest::newRow("password set") << "update user set password='NUL:new one' where name='bob'" << 1 << "user"
                                  << "name,password" << QStringList{"alice|wonder", "bob|new one", "ines|"};
    QTest::newRow("delete by key") << "delete from user where name='bob' and domain=''" << 1 << "user" << "name"
                                   << QStringList{"alice", "ines"};
    QTest::newRow("delete by list membership") << "delete from user where groups='staff'" << 2 << "user" << "name"
                                               << QStringList{"ines"};
    QTest::newRow("delete matching nothing") << "delete from user where name='nobody'" << 0 << "user" << "name"
                                             << QStringList{"alice", "bob", "ines"};
    QTest::newRow("table without key") << "update nokey set b='5'" << 2 << "nokey" << "a,b"
                                       << QStringList{"x|5", "y|5"};
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

void tst_StatementExecutor::refusedUpdateLeavesTable()
{
    // Both rows of the primary domain match; the second would take the first's key.
    const QStringList before = dump("user", "name,domain,qstorage");
    QCOMPARE(run("update user set name='same', qstorage='1' where domain=''").status(), quint32(StatusNotPossible));
    QCOMPARE(dump("user", "name,domain,qstorage"), before);
    QVERIFY(!m_dataChanged);
}

void tst_StatementExecutor::selects_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("columns in the order asked")
        << "select qstorage, name from user where domain=''" << "qstorage:3:0|name:1:1"
        << QStringList{"209715200|alice", "104857600|bob"};
    QTest::newRow("names in any case, answered as the table spells them")
        << "SELECT Name, QSTORAGE FROM User WHERE Domain='lakeside.example'" << "name:1:1|qstorage:3:0"
        << QStringList{"ines|0"};
    QTest::newRow("star") << "select * from nokey" << "a:1:0|b:2:0" << QStringList{"x|1", "y|2"};
    QTest::newRow("list membership") << "select name from user where groups='support'" << "name:1:1"
                                     << QStringList{"alice"};
    QTest::newRow("two conditions") << "select name from user where groups='staff' and enabled='1' and ip='10.0.0.2'"
                                    << "name:1:1" << QStringList{"bob"};
    QTest::newRow("no row matches") << "select name, ip from user where name='nobody'" << "name:1:1|ip:4:0"
                                    << QStringList();
    QTest::newRow("a column twice") << "select name, name from user where name='bob'" << "name:1:1|name:1:1"
                                    << QStringList{"bob|bob"};
}

void tst_StatementExecutor::selects()
{
    QFETCH(QString, statement);
    QFETCH(QString, columns);
    QFETCH(QStringList, rows);

    const Answer answer = run(statement);
    QCOMPARE(answer.status(), quint32(StatusOk));
    QCOMPARE(describeColumns(answer.columns()), columns);
    QCOMPARE(joinRows(answer.rows()), rows);
}

void tst_StatementExecutor::functions_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("get_auth_types") << "select get_auth_types()" << "ID:2:1|Name:1:0"
                                    << QStringList{"0|Internal", "1|NT domain", "2|PAM", "3|Kerberos 5"};
    QTest::newRow("get_languages") << "select get_languages()" << "language:1:1"
                                   << QStringList{"en", "de", "fr", "es", "it", "cs", "nl"};
    QTest::newRow("LogList of all") << "select LogList()" << "id:2:1|name:1:0|end:2:0|first:2:0"
                                    << QStringList{"0|smtp|3|0", "1|big|100000000|0"};
    QTest::newRow("LogList of one, any case") << "select LogList(\"SMTP\")" << "id:2:1|name:1:0|end:2:0|first:2:0"
                                              << QStringList{"0|smtp|3|0"};
    QTest::newRow("LogList of none") << "select LogList(\"nope\")" << "id:2:1|name:1:0|end:2:0|first:2:0"
                                     << QStringList();
    QTest::newRow("LogData from the start") << "select LogData(\"smtp\", 0, 2)" << "line:1:0"
                                            << QStringList{"line zero", "line one"};
    QTest::newRow("LogData past the end") << "select LogData(\"smtp\", 2, 10)" << "line:1:0"
                                          << QStringList{"line two"};
    QTest::newRow("LogData outside") << "select LogData(\"smtp\", 5, 10)" << "line:1:0" << QStringList();
    QTest::newRow("LogData no count") << "select LogData(\"smtp\", 0, 0)" << "line:1:0" << QStringList();
    QTest::newRow("LogData quoted numbers") << "select LogData(\"smtp\", \"1\", \"1\")" << "line:1:0"
                                            << QStringList{"line one"};
    QTest::newRow("LogData synthetic end")
        << "select LogData(\"big\", 99999998, 5)" << "line:1:0"
        << QStringList{"2027-05-02 17:46:38 big: synthetic line 99999998",
                       "2027-05-02 17:46:39 big: synthetic line 99999999"};
    QTest::newRow("LogData unknown log") << "select LogData(\"nope\", 0, 5)" << "line:1:0" << QStringList();
}

void tst_StatementExecutor::functions()
{
    QFETCH(QString, statement);
    QFETCH(QString, columns);
    QFETCH(QStringList, rows);

    const Answer answer = run(statement);
    QCOMPARE(answer.status(), quint32(StatusOk));
    QCOMPARE(describeColumns(answer.columns()), columns);
    QCOMPARE(joinRows(answer.rows()), rows);
    QVERIFY(m_changedLogs.isEmpty());
}

void tst_StatementExecutor::logCtrlEmptiesTheLog()
{
    const Answer cleaned = run("select LogCtrl(\"clean\", \"SMTP\")");
    QCOMPARE(cleaned.status(), quint32(StatusOk));
    QCOMPARE(joinRows(cleaned.rows()), QStringList{"OK"});
    QCOMPARE(m_changedLogs, QStringList{"smtp"});

    LogExtent extent;
    QVERIFY(m_logs.extent("smtp", &extent));
    QCOMPARE(extent.first, 3u);
    QCOMPARE(extent.end, 3u);
    QVERIFY(run("select LogData(\"smtp\", 0, 10)").rows().isEmpty());
    QCOMPARE(joinRows(run("select LogList(\"smtp\")").rows()), QStringList{"0|smtp|3|3"});
}

void tst_StatementExecutor::readsLeaveNoChangeMark()
{
    run("select name from user");
    QVERIFY(!m_dataChanged);
    run("select LogList()");
    QVERIFY(!m_dataChanged);
    QVERIFY(m_changedLogs.isEmpty());
}

QTEST_APPLESS_MAIN(tst_StatementExecutor)
#include "tst_statementexecutor.moc"
