#include "dbrow.h"
#include "escape.h"
#include "statements.h"
#include "testcolumns.h"

#include <QTest>

using testcols::setTexts;

namespace {
const QString T = QStringLiteral("T");
}

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void escapeText_data();
    void escapeText();
    void examples();
    void update_data();
    void update();
    void select();
};

void TestStatements::escapeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("null") << QString() << QString("");
    QTest::newRow("all six") << QString("a\\b\"c'd\ne\rf\tg") << QString("a\\\\b\\\"c\\'d\\ne\\rf\\tg");
    // A NUL would end the statement on the wire.
    QTest::newRow("NUL dropped") << QString::fromUtf16(u"\u0000ab\u0000c'\u0000", 7) << QString("abc\\'");
    QTest::newRow("non-Latin text")
        << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e \xd0\xbf\xd0\xbe\xd1\x87 \xe9\x83\xb5 \xf0\x9f\x93\xa7'")
        << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e \xd0\xbf\xd0\xbe\xd1\x87 \xe9\x83\xb5 \xf0\x9f\x93\xa7\\'");
    QTest::newRow("other controls and percent kept") << QString("a\x01\x1b%s&%1") << QString("a\x01\x1b%s&%1");
}

void TestStatements::escapeText()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(escape(text), escaped);
}

void TestStatements::examples()
{
    DBRow row(testcols::example);
    setTexts(row, {"1", "x", "it's"});
    QCOMPARE(make_insert(&row, T), QString("insert T set a='1', b='x', c='it\\'s'"));

    DBRow twoLines(row);
    twoLines.m_values[2]->set("one\ntwo");
    QCOMPARE(make_update(&row, &twoLines, T, true), QString("update T set c='one\\ntwo' where a='1' and b='x'"));
    DBRow newKey(row);
    newKey.m_values[0]->set("2");
    QCOMPARE(make_update(&row, &newKey, T, true), QString("update T set a='2' where a='1' and b='x'"));
    QCOMPARE(make_remove(&row, T), QString("delete from T where a='1' and b='x'"));
}

void TestStatements::update_data()
{
    QTest::addColumn<QStringList>("original");
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QString>("statement");

    const QStringList loaded{"1", "x", "Mail"};
    QTest::newRow("unchanged") << loaded << loaded << QString();
    // Every edit the administrator can see must reach the server.
    QTest::newRow("case only") << loaded << QStringList{"1", "x", "MAIL"}
                               << QString("update T set c='MAIL' where a='1' and b='x'");
    QTest::newRow("case of a key") << loaded << QStringList{"1", "X", "Mail"}
                                   << QString("update T set b='X' where a='1' and b='x'");
    QTest::newRow("two columns in order") << loaded << QStringList{"1", "y", "Post"}
                                          << QString("update T set b='y', c='Post' where a='1' and b='x'");
    QTest::newRow("quoted key in condition") << QStringList{"o'k", "x", "Mail"} << QStringList{"o'k", "x", "Post"}
                                             << QString("update T set c='Post' where a='o\\'k' and b='x'");
}

void TestStatements::update()
{
    QFETCH(QStringList, original);
    QFETCH(QStringList, current);
    QFETCH(QString, statement);

    DBRow orig(testcols::example);
    setTexts(orig, original);
    DBRow cur(orig);
    setTexts(cur, current);
    for (bool nocase : {true, false}) {
        const QString made = make_update(&orig, &cur, T, nocase);
        QCOMPARE(made, statement);
        QCOMPARE(made.isNull(), statement.isNull());
    }
}

void TestStatements::select()
{
    // The condition goes in as it is; fields replace the column list.
    QCOMPARE(make_select(testcols::alias, T, "lhs like 'a%'", nullptr),
             QString("select lhs, rhs, domain from T where lhs like 'a%'"));
    QCOMPARE(make_select(testcols::alias, T, "rhs=''", "count(*)"), QString("select count(*) from T where rhs=''"));
}

QTEST_MAIN(TestStatements)
#include "tst_statements.moc"
