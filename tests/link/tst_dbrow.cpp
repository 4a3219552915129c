#include "dbrow.h"
#include "vexadbtypes.h"

#include <QTest>

#include <typeinfo>

namespace {

// One column of every type code, and one the protocol does not know.
const DBCOL everyKind[] = {
    {VEXADB_VOID, "void", 0},
    {VEXADB_STRING, "name", 1},
    {VEXADB_INT, "count", 0},
    {VEXADB_INT64, "quota", 0},
    {VEXADB_IPADDR, "address", 0},
    {VEXADB_PWD, "password", 0},
    {VEXADB_BINARY, "blob", 0},
    {VEXADB_PORT, "port", 0},
    {VEXADB_IDLIST, "members", 0},
    {99, "future", 0},
    {0, nullptr, 0},
};
const int everyKindCount = 10;

const DBCOL aliasCols[] = {
    {VEXADB_STRING, "lhs", 1},
    {VEXADB_STRING, "rhs", 1},
    {VEXADB_STRING, "domain", 1},
    {0, nullptr, 0},
};

const DBCOL accentedCols[] = {
    {VEXADB_STRING, "caf\xc3\xa9", 0},
    {VEXADB_STRING, "Domain", 0},
    {VEXADB_STRING, "domain", 0},
    {0, nullptr, 0},
};

// A text that each kind keeps as it is.
QString sampleText(int type)
{
    switch (type) {
    case VEXADB_INT: return QStringLiteral("-17");
    case VEXADB_INT64: return QStringLiteral("18446744073709551615");
    case VEXADB_IPADDR: return QStringLiteral("10.0.0.1");
    case VEXADB_PORT: return QStringLiteral("8080");
    case VEXADB_BINARY: return QStringLiteral("ff00");
    case VEXADB_IDLIST: return QStringLiteral("a,,bc");
    default: return QStringLiteral("it's \xc3\xa9");
    }
}

void fillEveryValue(DBRow &row)
{
    for (size_t i = 0; i < row.m_values.size(); ++i)
        row.m_values[i]->set(sampleText(row.m_cols[i].type));
}

QStringList textsOf(const DBRow &row)
{
    QStringList texts;
    for (const auto &value : row.m_values)
        texts << value->text();
    return texts;
}

QList<bool> nullsOf(const DBRow &row)
{
    QList<bool> nulls;
    for (const auto &value : row.m_values)
        nulls << value->isNull();
    return nulls;
}

} // namespace

class TestDBRow : public QObject
{
    Q_OBJECT

private slots:
    void valueKindPerType_data();
    void valueKindPerType();
    void newRowHoldsNullValues();
    void nullColumnTableGivesNoValues();
    void allocEmptyValuesAppends();
    void identityNumbersAreFresh();
    void copyKeepsIdentityAndTexts();
    void copyKeepsNullValuesNull();
    void assignmentTakesIdentityAndTexts();
    void assignmentOfNullKeepsStoredContent();
    void assignmentFromAnotherColumnTable();
    void colIndex_data();
    void colIndex();
    void colIndexEdgeCases();
};

void TestDBRow::valueKindPerType_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("kind");

    QTest::newRow("VOID") << 0 << QByteArray(typeid(DBStr).name());
    QTest::newRow("STRING") << 1 << QByteArray(typeid(DBStr).name());
    QTest::newRow("INT") << 2 << QByteArray(typeid(DBInt).name());
    QTest::newRow("INT64") << 3 << QByteArray(typeid(DBInt64).name());
    QTest::newRow("IPADDR") << 4 << QByteArray(typeid(DBIpAddr).name());
    QTest::newRow("PWD") << 5 << QByteArray(typeid(DBStr).name());
    QTest::newRow("BINARY") << 6 << QByteArray(typeid(DBBinary).name());
    QTest::newRow("PORT") << 7 << QByteArray(typeid(DBPort).name());
    QTest::newRow("IDLIST") << 8 << QByteArray(typeid(DBIDList).name());
    QTest::newRow("unknown code") << 9 << QByteArray(typeid(DBStr).name());
}

void TestDBRow::valueKindPerType()
{
    QFETCH(int, column);
    QFETCH(QByteArray, kind);

    DBRow row(everyKind);
    const DBVal &value = *row.m_values.at(column);
    QCOMPARE(QByteArray(typeid(value).name()), kind);
}

void TestDBRow::newRowHoldsNullValues()
{
    DBRow row(everyKind);
    QCOMPARE(row.m_cols, everyKind);
    QCOMPARE(int(row.m_values.size()), everyKindCount);
    QCOMPARE(nullsOf(row), QList<bool>(everyKindCount, true));
    QCOMPARE(textsOf(row), QStringList(everyKindCount, QString()));
    QVERIFY(!row.m_matched);
}

void TestDBRow::nullColumnTableGivesNoValues()
{
    DBRow row(nullptr);
    QVERIFY(row.m_values.empty());
    QCOMPARE(row.colIndex("lhs"), -1);
}

void TestDBRow::allocEmptyValuesAppends()
{
    DBRow row(aliasCols);
    row.m_values[0]->set(QStringLiteral("kept"));
    row.allocEmptyValues();
    QCOMPARE(int(row.m_values.size()), 6);
    QCOMPARE(row.m_values[0]->text(), QStringLiteral("kept"));
    QVERIFY(row.m_values[3]->isNull());
    QVERIFY(row.m_values[5]->isNull());
}

void TestDBRow::identityNumbersAreFresh()
{
    DBRow first(aliasCols);
    DBRow second(everyKind);
    DBRow third(aliasCols);
    // One counter for every column table, counting up by one per new row.
    QCOMPARE(second.m_id, first.m_id + 1);
    QCOMPARE(third.m_id, first.m_id + 2);

    DBRow copy(first);
    DBRow fourth(aliasCols);
    QCOMPARE(copy.m_id, first.m_id);
    QCOMPARE(fourth.m_id, first.m_id + 3); // the copy drew no number
}

void TestDBRow::copyKeepsIdentityAndTexts()
{
    DBRow row(everyKind);
    fillEveryValue(row);
    const DBRow copy(row);
    QCOMPARE(copy.m_id, row.m_id);
    QCOMPARE(copy.m_cols, row.m_cols);
    QCOMPARE(textsOf(copy), textsOf(row));
    QCOMPARE(nullsOf(copy), nullsOf(row));
    QCOMPARE(copy.m_values[3]->text(), QStringLiteral("18446744073709551615"));
    QCOMPARE(copy.m_values[8]->text(), QStringLiteral("a,,bc"));

    // Deep: the rows share no value.
    row.m_values[1]->set(QStringLiteral("changed"));
    QCOMPARE(copy.m_values[1]->text(), sampleText(VEXADB_STRING));
}

void TestDBRow::copyKeepsNullValuesNull()
{
    DBRow row(everyKind);
    row.m_values[1]->set(QString()); // an empty STRING is a value
    row.m_values[2]->set(QStringLiteral("5"));
    const DBRow copy(row);

    QList<bool> expected(everyKindCount, true);
    expected[1] = false;
    expected[2] = false;
    QCOMPARE(nullsOf(copy), expected);
    QCOMPARE(copy.m_values[1]->text(), QString(""));
}

void TestDBRow::assignmentTakesIdentityAndTexts()
{
    DBRow source(everyKind);
    fillEveryValue(source);
    DBRow target(everyKind);
    const DBVal *firstValue = target.m_values[1].get();

    target = source;
    QCOMPARE(target.m_id, source.m_id);
    QCOMPARE(textsOf(target), textsOf(source));
    QCOMPARE(nullsOf(target), nullsOf(source));
    // The target keeps its own value objects.
    QCOMPARE(target.m_values[1].get(), firstValue);
}

void TestDBRow::assignmentOfNullKeepsStoredContent()
{
    DBRow edited(everyKind);
    edited.m_values[1]->set(QStringLiteral("typed"));
    edited.m_values[2]->set(QStringLiteral("5"));
    const DBRow before(everyKind);

    edited = before;
    QVERIFY(edited.m_values[1]->isNull());
    QVERIFY(edited.m_values[2]->isNull());
    // Marked null, content left as it was: a string shows it, a number hides it.
    QCOMPARE(edited.m_values[1]->text(), QStringLiteral("typed"));
    QCOMPARE(edited.m_values[2]->text(), QString());
    QCOMPARE(static_cast<DBInt &>(*edited.m_values[2]).value(), 5);
}

void TestDBRow::assignmentFromAnotherColumnTable()
{
    DBRow source(everyKind);
    fillEveryValue(source);
    DBRow target(aliasCols);

    target = source;
    // Values of the old kinds would not match the names and types of the new table.
    QCOMPARE(target.m_cols, everyKind);
    QCOMPARE(int(target.m_values.size()), everyKindCount);
    QCOMPARE(textsOf(target), textsOf(source));
    QCOMPARE(QByteArray(typeid(*target.m_values[7]).name()), QByteArray(typeid(DBPort).name()));
}

void TestDBRow::colIndex_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("index");

    QTest::newRow("as declared") << QByteArray("rhs") << 1;
    QTest::newRow("upper case") << QByteArray("LHS") << 0;
    QTest::newRow("mixed case") << QByteArray("DoMain") << 2;
    QTest::newRow("no such column") << QByteArray("user") << -1;
    QTest::newRow("prefix only") << QByteArray("dom") << -1;
    QTest::newRow("longer") << QByteArray("domains") << -1;
    QTest::newRow("empty") << QByteArray("") << -1;
}

void TestDBRow::colIndex()
{
    QFETCH(QByteArray, name);
    QFETCH(int, index);

    const DBRow row(aliasCols);
    QCOMPARE(row.colIndex(name.constData()), index);
}

void TestDBRow::colIndexEdgeCases()
{
    const DBRow row(accentedCols);
    QCOMPARE(row.colIndex(nullptr), -1);
    // The first of two names that differ in case only.
    QCOMPARE(row.colIndex("DOMAIN"), 1);
    QCOMPARE(row.colIndex("domain"), 1);
    // Only ASCII letters fold: the accented letter must match as it stands.
    QCOMPARE(row.colIndex("CAF\xc3\xa9"), 0);
    QCOMPARE(row.colIndex("CAF\xc3\x89"), -1);
}

QTEST_MAIN(TestDBRow)
#include "tst_dbrow.moc"
