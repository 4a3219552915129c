#include "answer_p.h"
#include "catalogue_p.h"
#include "executioncontext_p.h"
#include "logstore_p.h"
#include "statementexecutor_p.h"

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
    void logCtrlEmptiesTheLog();

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
    m_catalogue = Catalogue();
    m_catalogue.setTable(user);
    m_catalogue.setTable(nokey);
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

    QTest::newRow("parse error") << "selec name from user" << 106u << "" << QStringList();
    QTest::newRow("delete without condition") << "delete from user" << 106u << "" << QStringList();
    QTest::newRow("unknown table") << "select name from nothing" << 109u << "" << QStringList();
    QTest::newRow("insert, unknown table") << "insert nothing set a='1'" << 109u << "" << QStringList();
    QTest::newRow("update, unknown table") << "update nothing set a='1'" << 109u << "" << QStringList();
    QTest::newRow("delete, unknown table") << "delete from nothing where a='1'" << 109u << "" << QStringList();
    QTest::newRow("unknown column") << "select nothing from user" << 114u << "" << QStringList();
    QTest::newRow("unknown column in condition") << "select name from user where nothing='1'" << 114u << "" << QStringList();
    QTest::newRow("insert, unknown column") << "insert user set name='zed', nothing='1'" << 114u << "" << QStringList();
    QTest::newRow("unknown function") << "select nothing()" << 110u << "" << QStringList();
    QTest::newRow("duplicate key") << "insert user set name='alice', domain=''" << 111u << "" << QStringList();
    QTest::newRow("update onto another key") << "update user set name='bob' where name='alice'" << 111u << "" << QStringList();
    QTest::newRow("insert with +=") << "insert user set groups+='x', name='z'" << 107u << "" << QStringList();
    QTest::newRow("+= on a number") << "update user set enabled+='1'" << 107u << "" << QStringList();
    QTest::newRow("BINARY that is not hex") << "update user set blob='xyz'" << 107u << "" << QStringList();
    QTest::newRow("LogData without range") << "select LogData(\"smtp\")" << 107u << "" << QStringList();
    QTest::newRow("LogData with a word") << "select LogData(\"smtp\", \"x\", 2)" << 107u << "" << QStringList();
    QTest::newRow("LogCtrl other action") << "select LogCtrl(\"flush\", \"smtp\")" << 107u << "" << QStringList();
    QTest::newRow("LogCtrl unknown log") << "select LogCtrl(\"clean\", \"nope\")" << 111u << "" << QStringList();
    QTest::newRow("get_auth_types takes nothing") << "select get_auth_types(1)" << 107u << "" << QStringList();

    QTest::newRow("columns in the order asked") << "select qstorage, name from user where domain=''" << 0u
                                                << "qstorage:3:0|name:1:1" << QStringList{"209715200|alice", "104857600|bob"};
    QTest::newRow("names in any case, answered as the table spells them")
        << "SELECT Name, QSTORAGE FROM User WHERE Domain='lakeside.example'" << 0u << "name:1:1|qstorage:3:0"
        << QStringList{"ines|0"};
    QTest::newRow("star") << "select * from nokey" << 0u << "a:1:0|b:2:0" << QStringList{"x|1", "y|2"};
    QTest::newRow("list membership") << "select name from user where groups='support'" << 0u << "name:1:1"
                                     << QStringList{"alice"};
    QTest::newRow("conditions joined, in text form")
        << "select name from user where groups='staff' and enabled='1' and blob='00FF'" << 0u << "name:1:1"
        << QStringList{"alice"};
    QTest::newRow("get_auth_types, any case") << "SELECT GET_AUTH_TYPES()" << 0u << "ID:2:1|Name:1:0"
                                              << QStringList{"0|Internal", "1|NT domain", "2|PAM", "3|Kerberos 5"};
    QTest::newRow("get_languages") << "select get_languages()" << 0u << "language:1:1"
                                   << QStringList{"en", "de", "fr", "es", "it", "cs", "nl"};
    QTest::newRow("LogList of all") << "select LogList()" << 0u << "id:2:1|name:1:0|end:2:0|first:2:0"
                                    << QStringList{"0|smtp|3|0", "1|big|100000000|0"};
    QTest::newRow("LogList of one, any case") << "select LogList(\"SMTP\")" << 0u << "id:2:1|name:1:0|end:2:0|first:2:0"
                                              << QStringList{"0|smtp|3|0"};
    QTest::newRow("LogList of none") << "select LogList(\"nope\")" << 0u << "id:2:1|name:1:0|end:2:0|first:2:0"
                                     << QStringList();
    QTest::newRow("LogData from the start") << "select LogData(\"smtp\", 0, 2)" << 0u << "line:1:0"
                                            << QStringList{"line zero", "line one"};
    QTest::newRow("LogData past the end") << "select LogData(\"smtp\", 2, 10)" << 0u << "line:1:0" << QStringList{"line two"};
    QTest::newRow("LogData quoted numbers") << "select LogData(\"smtp\", \"1\", \"1\")" << 0u << "line:1:0"
                                            << QStringList{"line one"};
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
    QTest::newRow("keys compare exactly") << "insert user set name='Alice', domain=''" << 1 << "user" << "name,domain"
                                          << QStringList{"alice|", "bob|", "ines|lakeside.example", "Alice|"};
    QTest::newRow("same name, other domain") << "insert user set name='bob', domain='lakeside.example'" << 1 << "user"
        << "name,domain" << QStringList{"alice|", "bob|", "ines|lakeside.example", "bob|lakeside.example"};
    QTest::newRow("table without key takes duplicates") << "insert nokey set a='x', b='1'" << 1 << "nokey" << "a,b"
                                                        << QStringList{"x|1", "y|2", "x|1"};
    QTest::newRow("update by key") << "update user set qstorage='1048576' where name='alice' and domain=''" << 1 << "user"
                                   << "name,qstorage" << QStringList{"alice|1048576", "bob|104857600", "ines|0"};
    QTest::newRow("update of a key column") << "update user set name='alicia' where name='alice' and domain=''" << 1
                                            << "user" << "name" << QStringList{"alicia", "bob", "ines"};
    QTest::newRow("update without condition") << "update user set enabled='0'" << 3 << "user" << "name,enabled"
                                              << QStringList{"alice|0", "bob|0", "ines|0"};
    QTest::newRow("update matching nothing") << "update user set enabled='0' where name='nobody'" << 0 << "user"
                                             << "name,enabled" << QStringList{"alice|1", "bob|1", "ines|0"};
    QTest::newRow("update without key") << "update nokey set b='5'" << 2 << "nokey" << "a,b" << QStringList{"x|5", "y|5"};
    QTest::newRow("condition value in text form") << "update user set enabled='7' where qstorage='  104857600'" << 1
                                                  << "user" << "name,enabled" << QStringList{"alice|1", "bob|7", "ines|0"};
    QTest::newRow("add a list item") << "UPDATE user SET groups+=\"sales\" WHERE name=\"alice\" AND domain=\"\"" << 1
                                     << "user" << "name,groups" << QStringList{"alice|staff,support,sales", "bob|staff", "ines|sales"};
    QTest::newRow("add an item already there") << "UPDATE user SET groups+=\"staff\" WHERE name=\"bob\"" << 1 << "user"
                                               << "name,groups" << QStringList{"alice|staff,support", "bob|staff", "ines|sales"};
    QTest::newRow("remove a list item") << "UPDATE user SET groups -=\"staff\" WHERE Domain = \"\"" << 2 << "user"
                                        << "name,groups" << QStringList{"alice|support", "bob|", "ines|sales"};
    QTest::newRow("list condition means contains") << "update user set enabled='5' where groups='support'" << 1 << "user"
                                                   << "name,enabled" << QStringList{"alice|5", "bob|1", "ines|0"};
    QTest::newRow("list condition is no substring test") << "update user set enabled='5' where groups='sup'" << 0
        << "user" << "name,enabled" << QStringList{"alice|1", "bob|1", "ines|0"};
    QTest::newRow("delete by key") << "delete from user where name='bob' and domain=''" << 1 << "user" << "name"
                                   << QStringList{"alice", "ines"};
    QTest::newRow("delete by list membership") << "delete from user where groups='staff'" << 2 << "user" << "name"
                                               << QStringList{"ines"};
    QTest::newRow("delete matching nothing") << "delete from user where name='nobody'" << 0 << "user" << "name"
                                             << QStringList{"alice", "bob", "ines"};
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

void tst_StatementExecutor::logCtrlEmptiesTheLog()
{
    const Answer cleaned = run("select LogCtrl(\"clean\", \"SMTP\")");
    QCOMPARE(cleaned.status(), quint32(StatusOk));
    QCOMPARE(cleaned.rows(), QList<QStringList>{{"OK"}});
    QCOMPARE(m_changedLogs, QStringList{"smtp"});
    QVERIFY(run("select LogData(\"smtp\", 0, 10)").rows().isEmpty());
    QCOMPARE(run("select LogList(\"smtp\")").rows(), (QList<QStringList>{{"0", "smtp", "3", "3"}}));
}

QTEST_APPLESS_MAIN(tst_StatementExecutor)
#include "tst_statementexecutor.moc"
