#include "dbrow.h"
#include "escape.h"
#include "statements.h"
#include "vexadbtypes.h"

#include <QTest>

namespace {

// Table T of the examples: a and b form the key, c is data.
const DBCOL exampleCols[] = {
    {VEXADB_STRING, "a", 1},
    {VEXADB_STRING, "b", 1},
    {VEXADB_STRING, "c", 0},
    {0, nullptr, 0},
};

// A settings table: one row, no key.
const DBCOL keylessCols[] = {
    {VEXADB_STRING, "hostname", 0},
    {VEXADB_INT, "maxsize", 0},
    {0, nullptr, 0},
};

const DBCOL typedCols[] = {
    {VEXADB_INT64, "quota", 1},
    {VEXADB_IPADDR, "address", 0},
    {VEXADB_PORT, "port", 0},
    {VEXADB_IDLIST, "members", 0},
    {VEXADB_BINARY, "blob", 0},
    {VEXADB_PWD, "password", 0},
    {VEXADB_INT, "rights", 0},
    {0, nullptr, 0},
};

const DBCOL aliasCols[] = {
    {VEXADB_STRING, "lhs", 1},
    {VEXADB_STRING, "rhs", 1},
    {VEXADB_STRING, "domain", 1},
    {0, nullptr, 0},
};

void setTexts(DBRow &row, const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i) {
        if (!texts.at(i).isNull())
            row.m_values[i]->set(texts.at(i));
    }
}

const QString T = QStringLiteral("T");

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void escapeText_data();
    void escapeText();
    void examples();
    void insertWritesEveryColumn();
    void insertTypedCells();
    void update_data();
    void update();
    void updateWithoutKey();
    void removeWithoutKey();
    void namesAreNeverEscaped();
    void select_data();
    void select();
    void call();
};

void TestStatements::escapeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("null") << QString() << QString("");
    QTest::newRow("empty") << QString("") << QString("");
    QTest::newRow("plain") << QString("postmaster") << QString("postmaster");
    QTest::newRow("backslash") << QString("a\\b") << QString("a\\\\b");
    QTest::newRow("double quote") << QString("say \"hi\"") << QString("say \\\"hi\\\"");
    QTest::newRow("apostrophe") << QString("it's") << QString("it\\'s");
    QTest::newRow("line feed") << QString("one\ntwo") << QString("one\\ntwo");
    QTest::newRow("carriage return") << QString("one\rtwo") << QString("one\\rtwo");
    QTest::newRow("tab") << QString("a\tb") << QString("a\\tb");
    QTest::newRow("all six") << QString("\\\"'\n\r\t") << QString("\\\\\\\"\\'\\n\\r\\t");
    QTest::newRow("already escaped") << QString("\\n") << QString("\\\\n");
    QTest::newRow("NUL dropped inside")
        << QString::fromUtf16(u"ab\u0000cd", 5) << QString("abcd");
    QTest::newRow("NUL only") << QString(QChar(0)) << QString("");
    QTest::newRow("NUL at both ends")
        << QString::fromUtf16(u"\u0000x'\u0000", 4) << QString("x\\'");
    QTest::newRow("Latin-1") << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e \xc3\xbf")
                             << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e \xc3\xbf");
    QTest::newRow("Cyrillic and CJK")
        << QString::fromUtf8("\xd0\xbf\xd0\xbe\xd1\x87\xd1\x82\xd0\xb0 \xe9\x83\xb5\xe4\xbe\xbf")
        << QString::fromUtf8("\xd0\xbf\xd0\xbe\xd1\x87\xd1\x82\xd0\xb0 \xe9\x83\xb5\xe4\xbe\xbf");
    QTest::newRow("beyond the BMP") << QString::fromUtf8("\xf0\x9f\x93\xa7'")
                                    << QString::fromUtf8("\xf0\x9f\x93\xa7\\'");
    QTest::newRow("other controls kept") << QString("a\x01\x1b" "b") << QString("a\x01\x1b" "b");
    QTest::newRow("percent and ampersand") << QString("%s&%1") << QString("%s&%1");
}

void TestStatements::escapeText()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(escape(text), escaped);
}

void TestStatements::examples()
{
    DBRow row(exampleCols);
    setTexts(row, {"1", "x", "it's"});
    QCOMPARE(make_insert(&row, T), QString("insert T set a='1', b='x', c='it\\'s'"));

    DBRow twoLines(row);
    twoLines.m_values[2]->set("one\ntwo");
    QCOMPARE(make_update(&row, &twoLines, T, true),
             QString("update T set c='one\\ntwo' where a='1' and b='x'"));

    DBRow newKey(row);
    newKey.m_values[0]->set("2");
    QCOMPARE(make_update(&row, &newKey, T, true),
             QString("update T set a='2' where a='1' and b='x'"));

    QCOMPARE(make_remove(&row, T), QString("delete from T where a='1' and b='x'"));
}

void TestStatements::insertWritesEveryColumn()
{
    DBRow row(exampleCols);
    row.m_values[1]->set("x");
    QCOMPARE(make_insert(&row, T), QString("insert T set a='', b='x', c=''"));
}

void TestStatements::insertTypedCells()
{
    DBRow row(typedCols);
    setTexts(row, {"9223372036854775807", "192.168.1.20", "2525", "admin,users", "00ff7f",
                   "NUL:secret'", "3"});
    QCOMPARE(make_insert(&row, QStringLiteral("user")),
             QString("insert user set quota='9223372036854775807', address='192.168.1.20', "
                     "port='2525', members='admin,users', blob='00ff7f', "
                     "password='NUL:secret\\'', rights='3'"));
}

void TestStatements::update_data()
{
    QTest::addColumn<QStringList>("original");
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<bool>("nocase");
    QTest::addColumn<QString>("statement");

    const QStringList loaded{"1", "x", "Mail"};
    QTest::newRow("unchanged") << loaded << loaded << true << QString();
    QTest::newRow("unchanged, exact") << loaded << loaded << false << QString();
    QTest::newRow("case only, nocase")
        << loaded << QStringList{"1", "x", "MAIL"} << true
        << QString("update T set c='MAIL' where a='1' and b='x'");
    QTest::newRow("case only, exact")
        << loaded << QStringList{"1", "x", "mail"} << false
        << QString("update T set c='mail' where a='1' and b='x'");
    QTest::newRow("case of a key, nocase")
        << loaded << QStringList{"1", "X", "Mail"} << true
        << QString("update T set b='X' where a='1' and b='x'");
    QTest::newRow("two columns in order")
        << loaded << QStringList{"1", "y", "Post"} << true
        << QString("update T set b='y', c='Post' where a='1' and b='x'");
    QTest::newRow("emptied cell")
        << loaded << QStringList{"1", "x", ""} << true
        << QString("update T set c='' where a='1' and b='x'");
    QTest::newRow("quoted key in condition")
        << QStringList{"o'k", "x", "Mail"} << QStringList{"o'k", "x", "Post"} << true
        << QString("update T set c='Post' where a='o\\'k' and b='x'");
    QTest::newRow("non-Latin text")
        << loaded << QStringList{"1", "x", QString::fromUtf8("\xd0\x9f\xd0\xbe\xd1\x87\xd1\x82\xd0\xb0")}
        << true
        << QString::fromUtf8("update T set c='\xd0\x9f\xd0\xbe\xd1\x87\xd1\x82\xd0\xb0' "
                             "where a='1' and b='x'");
}

void TestStatements::update()
{
    QFETCH(QStringList, original);
    QFETCH(QStringList, current);
    QFETCH(bool, nocase);
    QFETCH(QString, statement);

    DBRow orig(exampleCols);
    setTexts(orig, original);
    DBRow cur(orig);
    setTexts(cur, current);

    const QString made = make_update(&orig, &cur, T, nocase);
    QCOMPARE(made, statement);
    QCOMPARE(made.isNull(), statement.isNull());
}

void TestStatements::updateWithoutKey()
{
    DBRow orig(keylessCols);
    setTexts(orig, {"mail.example.com", "1024"});
    DBRow cur(orig);
    cur.m_values[1]->set("2048");
    QCOMPARE(make_update(&orig, &cur, QStringLiteral("smtp"), true),
             QString("update smtp set maxsize='2048'"));
}

void TestStatements::removeWithoutKey()
{
    DBRow row(keylessCols);
    setTexts(row, {"mail.example.com", "1024"});
    QCOMPARE(make_remove(&row, QStringLiteral("smtp")), QString("delete from smtp where "));
}

void TestStatements::namesAreNeverEscaped()
{
    static const DBCOL oddCols[] = {
        {VEXADB_STRING, "we'ird", 1},
        {0, nullptr, 0},
    };
    DBRow row(oddCols);
    row.m_values[0]->set("v'");
    const QString table = QStringLiteral("t\"x");
    QCOMPARE(make_insert(&row, table), QString("insert t\"x set we'ird='v\\''"));
    QCOMPARE(make_remove(&row, table), QString("delete from t\"x where we'ird='v\\''"));
}

void TestStatements::select_data()
{
    QTest::addColumn<QByteArray>("where");
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<QString>("statement");

    QTest::newRow("columns") << QByteArray() << QByteArray()
                             << QString("select lhs, rhs, domain from alias");
    QTest::newRow("where, unchanged")
        << QByteArray("domain='example.com' and lhs like 'a%'") << QByteArray()
        << QString("select lhs, rhs, domain from alias where domain='example.com' and lhs like 'a%'");
    QTest::newRow("fields instead of columns")
        << QByteArray() << QByteArray("count(*)") << QString("select count(*) from alias");
    QTest::newRow("both") << QByteArray("rhs=''") << QByteArray("lhs")
                          << QString("select lhs from alias where rhs=''");
    QTest::newRow("empty where") << QByteArray("") << QByteArray()
                                 << QString("select lhs, rhs, domain from alias where ");
}

void TestStatements::select()
{
    QFETCH(QByteArray, where);
    QFETCH(QByteArray, fields);
    QFETCH(QString, statement);

    QCOMPARE(make_select(aliasCols, QStringLiteral("alias"),
                         where.isNull() ? nullptr : where.constData(),
                         fields.isNull() ? nullptr : fields.constData()),
             statement);
}

void TestStatements::call()
{
    QCOMPARE(make_call(QStringLiteral("get_auth_types()")), QString("select get_auth_types()"));
}

QTEST_MAIN(TestStatements)
#include "tst_statements.moc"
