#include "dbrow.h"
#include "testcolumns.h"

#include <QTest>

#include <typeinfo>

using namespace testcols;

namespace {

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
        texts << (value->isNull() ? QStringLiteral("<null>") : value->text());
    return texts;
}

template<typename T>
QByteArray kindName()
{
    return typeid(T).name();
}

} // namespace

class TestDBRow : public QObject
{
    Q_OBJECT

private slots:
    void valueKindFollowsType_data();
    void valueKindFollowsType();
    void newRowHoldsNullValues();
    void identityNumbers();
    void copyIsDeepAndKeepsIdentity();
    void assignment();
    void colIndex_data();
    void colIndex();
};

void TestDBRow::valueKindFollowsType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("kind");

    QTest::newRow("VOID") << int(VEXADB_VOID) << kindName<DBStr>();
    QTest::newRow("STRING") << int(VEXADB_STRING) << kindName<DBStr>();
    QTest::newRow("INT") << int(VEXADB_INT) << kindName<DBInt>();
    QTest::newRow("INT64") << int(VEXADB_INT64) << kindName<DBInt64>();
    QTest::newRow("IPADDR") << int(VEXADB_IPADDR) << kindName<DBIpAddr>();
    QTest::newRow("PWD") << int(VEXADB_PWD) << kindName<DBStr>();
    QTest::newRow("BINARY") << int(VEXADB_BINARY) << kindName<DBBinary>();
    QTest::newRow("PORT") << int(VEXADB_PORT) << kindName<DBPort>();
    QTest::newRow("IDLIST") << int(VEXADB_IDLIST) << kindName<DBIDList>();
    QTest::newRow("unknown code") << 99 << kindName<DBStr>();
}

void TestDBRow::valueKindFollowsType()
{
    QFETCH(int, type);
    QFETCH(QByteArray, kind);
    const DBCOL cols[] = {{type, "c", 0}, {0, nullptr, 0}};
    const DBRow row(cols);
    QCOMPARE(QByteArray(typeid(*row.m_values.at(0)).name()), kind);
}

void TestDBRow::newRowHoldsNullValues()
{
    DBRow row(everyType);
    QCOMPARE(row.m_cols, everyType);
    QCOMPARE(textsOf(row), QStringList(EveryTypeCount, "<null>"));
    QVERIFY(!row.m_matched);

    row.m_values[0]->set(QStringLiteral("kept"));
    row.allocEmptyValues();
    QCOMPARE(int(row.m_values.size()), 2 * EveryTypeCount);
    QCOMPARE(row.m_values[0]->text(), QStringLiteral("kept"));

    DBRow none(nullptr);
    QVERIFY(none.m_values.empty());
    QCOMPARE(none.colIndex("lhs"), -1);
}

void TestDBRow::identityNumbers()
{
    DBRow first(alias);
    DBRow second(everyType);
    DBRow copy(first);
    DBRow third(alias);
    // One counter for every column table, counting up by one per new row; a copy draws none.
    QCOMPARE(second.m_id, first.m_id + 1);
    QCOMPARE(copy.m_id, first.m_id);
    QCOMPARE(third.m_id, first.m_id + 2);
}

void TestDBRow::copyIsDeepAndKeepsIdentity()
{
    DBRow row(everyType);
    fillEveryValue(row);
    row.m_values[T]->set(QString());  // an empty STRING is a value, not null
    row.m_values[I]->set(QString());
    const QStringList texts = textsOf(row);
    QCOMPARE(texts.at(T), QString(""));
    QCOMPARE(texts.at(I), QString("<null>"));

    const DBRow copy(row);
    QCOMPARE(copy.m_id, row.m_id);
    QCOMPARE(copy.m_cols, row.m_cols);
    QCOMPARE(textsOf(copy), texts);
    row.m_values[S]->set(QStringLiteral("changed"));
    QCOMPARE(copy.m_values[S]->text(), sampleText(VEXADB_STRING));
}

void TestDBRow::assignment()
{
    DBRow source(everyType);
    fillEveryValue(source);
    DBRow target(everyType);
    const DBVal *firstValue = target.m_values[S].get();
    target = source;
    QCOMPARE(target.m_id, source.m_id);
    QCOMPARE(textsOf(target), textsOf(source));
    QCOMPARE(target.m_values[S].get(), firstValue);  // the target keeps its own values

    // A null source marks the value null and leaves its content: a string shows it, a number hides it.
    target = DBRow(everyType);
    QVERIFY(target.m_values[S]->isNull() && target.m_values[I]->isNull());
    QCOMPARE(target.m_values[S]->text(), sampleText(VEXADB_STRING));
    QCOMPARE(target.m_values[I]->text(), QString());
    QCOMPARE(static_cast<DBInt &>(*target.m_values[I]).value(), -17);

    // From another column table the values take the new kinds.
    DBRow other(alias);
    other = source;
    QCOMPARE(other.m_cols, everyType);
    QCOMPARE(textsOf(other), textsOf(source));
    QCOMPARE(QByteArray(typeid(*other.m_values[P]).name()), kindName<DBPort>());
}

void TestDBRow::colIndex_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("index");

    QTest::newRow("as declared") << QByteArray("rhs") << 1;
    QTest::newRow("first of two names that differ in case") << QByteArray("DOMAIN") << 2;
    QTest::newRow("prefix only") << QByteArray("dom") << -1;
    QTest::newRow("longer") << QByteArray("domains") << -1;
    QTest::newRow("empty") << QByteArray("") << -1;
    QTest::newRow("null") << QByteArray() << -1;
    // Only ASCII letters fold: the accented letter must match as it stands.
    QTest::newRow("accented, ASCII folded") << QByteArray("CAF\xc3\xa9") << 4;
    QTest::newRow("accented letter folded") << QByteArray("CAF\xc3\x89") << -1;
}

void TestDBRow::colIndex()
{
    QFETCH(QByteArray, name);
    QFETCH(int, index);
    static const DBCOL cols[] = {{VEXADB_STRING, "lhs", 1}, {VEXADB_STRING, "rhs", 1}, {VEXADB_STRING, "domain", 1},
                                 {VEXADB_STRING, "Domain", 0}, {VEXADB_STRING, "caf\xc3\xa9", 0}, {0, nullptr, 0}};
    QCOMPARE(DBRow(cols).colIndex(name.isNull() ? nullptr : name.constData()), index);
}

QTEST_MAIN(TestDBRow)
#include "tst_dbrow.moc"
