#include "statementparser_p.h"

#include <QtTest>

using namespace StandIn;

namespace {

// One line per statement, values in <...> so that empty ones and blanks show.
QString describe(const Statement &s)
{
    const auto value = [](const QString &text) { return QLatin1Char('<') + text + QLatin1Char('>'); };
    QStringList where;
    for (const Statement::Condition &c : s.conditions)
        where.append(c.column + QLatin1Char('=') + value(c.value));
    const QString wherePart = where.isEmpty() ? QString() : QStringLiteral(" where ") + where.join(QLatin1String(" & "));
    QStringList sets;
    for (const Statement::Assignment &a : s.assignments) {
        const char *op = a.op == Statement::Assignment::Set ? "=" : a.op == Statement::Assignment::AddItem ? "+=" : "-=";
        sets.append(a.column + QLatin1String(op) + value(a.value));
    }
    switch (s.kind) {
    case Statement::Select:
        return QStringLiteral("select %1 from %2").arg(s.allFields ? QStringLiteral("*") : s.fields.join(u'|'), s.target) + wherePart;
    case Statement::Call: {
        QStringList arguments;
        for (const Statement::Argument &a : s.arguments)
            arguments.append(a.quoted ? value(a.text) : a.text);
        return QStringLiteral("call %1(%2)").arg(s.target, arguments.join(QLatin1String(", ")));
    }
    case Statement::Insert:
        return QStringLiteral("insert %1 set %2").arg(s.target, sets.join(QLatin1String(", ")));
    case Statement::Update:
        return QStringLiteral("update %1 set %2").arg(s.target, sets.join(QLatin1String(", "))) + wherePart;
    case Statement::Delete:
        return QStringLiteral("delete %1").arg(s.target) + wherePart;
    }
    return QString();
}

} // namespace

class tst_StatementParser : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
};

void tst_StatementParser::accepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("parsed");

    QTest::newRow("select columns, any case") << "SELECT lhs, rhs, domain FroM alias" << "select lhs|rhs|domain from alias";
    QTest::newRow("select star") << "select * from user" << "select * from user";
    QTest::newRow("insert") << "InSeRt T set a='1', b='x'" << "insert T set a=<1>, b=<x>";
    QTest::newRow("update with two conditions") << "update T set a='2' where a='1' and b='x'" << "update T set a=<2> where a=<1> & b=<x>";
    QTest::newRow("delete") << "delete from T where a='1'" << "delete T where a=<1>";

    QTest::newRow("call, blank before bracket") << "select LogList ( )" << "call LogList()";
    QTest::newRow("call with a name and numbers") << "select LogData(\"smtp\", 120, -55)" << "call LogData(<smtp>, 120, -55)";
    QTest::newRow("call, single quotes") << "select LogCtrl('clean', 'debug')" << "call LogCtrl(<clean>, <debug>)";

    // forms the pages build by hand
    QTest::newRow("add member") << "UPDATE user SET groups+=\"sales\" WHERE name=\"ines\" AND domain=\"\""
                                << "update user set groups+=<sales> where name=<ines> & domain=<>";
    QTest::newRow("drop member, blank before -=") << "UPDATE user SET groups -=\"support\" WHERE name=\"alice\""
                                                  << "update user set groups-=<support> where name=<alice>";
    QTest::newRow("hyphen in a table name") << "UPDATE service-smtp SET port = '25'" << "update service-smtp set port=<25>";

    // values
    QTest::newRow("all six escapes") << "insert T set v='\\\\ \\\" \\' \\n \\r \\t'" << "insert T set v=<\\ \" ' \n \r \t>";
    QTest::newRow("escapes in double quotes") << "insert T set v=\"say \\\"hi\\\" it's\"" << "insert T set v=<say \"hi\" it's>";
    QTest::newRow("double quote inside apostrophes") << "insert T set v='a\"b'" << "insert T set v=<a\"b>";
    QTest::newRow("unknown escape kept") << "insert T set v='C:\\data'" << "insert T set v=<C:\\data>";
    QTest::newRow("blanks and keywords kept in values") << "insert T set a='  select from where and '"
                                                        << "insert T set a=<  select from where and >";
    QTest::newRow("non-Latin text") << QString::fromUtf8("insert T set v='Žluťoučký 日本'") << QString::fromUtf8("insert T set v=<Žluťoučký 日本>");
    QTest::newRow("number value") << "select a from T where a=5" << "select a from T where a=<5>";
    QTest::newRow("no blanks at all") << "update T set a='1',b='2' where c='3'and d='4'" << "update T set a=<1>, b=<2> where c=<3> & d=<4>";
    QTest::newRow("new lines as blanks") << "select a\nfrom T\twhere a='1'" << "select a from T where a=<1>";
}

void tst_StatementParser::accepted()
{
    QFETCH(QString, text);
    QFETCH(QString, parsed);
    Statement statement;
    QString error;
    QVERIFY2(StatementParser::parse(text, &statement, &error), qPrintable(error));
    QCOMPARE(describe(statement), parsed);
}

void tst_StatementParser::refused_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
    QTest::newRow("unknown verb") << "selec a from T";
    QTest::newRow("no table") << "select a from";
    QTest::newRow("dangling comma") << "select a, from T";
    QTest::newRow("no columns") << "select from T";
    QTest::newRow("insert without set") << "insert T a='1'";
    QTest::newRow("unterminated text") << "insert T set a='1";
    QTest::newRow("escaped closing quote") << "insert T set a='1\\'";
    QTest::newRow("assignment with bare word") << "update T set a=b";
    QTest::newRow("delete without condition") << "delete from T";
    QTest::newRow("delete with empty condition") << "delete from T where ";
    QTest::newRow("dangling and") << "delete from T where a='1' and";
    QTest::newRow("bare word argument") << "select f(a)";
    QTest::newRow("unclosed call") << "select f('x'";
    QTest::newRow("or is not supported") << "select a from T where a='1' or b='2'";
    QTest::newRow("other comparison") << "select a from T where a<'1'";
    QTest::newRow("two statements") << "select a from T; delete from T where a='1'";
    QTest::newRow("trailing words") << "select a from T extra";
}

void tst_StatementParser::refused()
{
    QFETCH(QString, text);
    Statement statement;
    QString error;
    QVERIFY(!StatementParser::parse(text, &statement, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_APPLESS_MAIN(tst_StatementParser)
#include "tst_statementparser.moc"
