#include "dbrow.h"
#include "testcolumns.h"

#include <QTest>

#include <typeinfo>
#include <utility>

using namespace testcols;

namespace {

const QString Text = QString::fromUtf8("it's \xc3\xa9");

// A text in every column that each kind keeps as it is.
void fillEveryValue(DBRow &row)
{
    setTexts(row, {Text, Text, "-17", "18446744073709551615", "10.0.0.1", "8080", "ff00", "a,,bc", Text, Text});
}

QStringList textsOf(const DBRow &row)
{
    QStringList texts;
    for (const auto &value : row.m_values)
        texts << (value->isNull() ? QStringLiteral("<null>") : value->text());
    return texts;
}

} // namespace

class TestDBRow : public QObject
{
    Q_OBJECT

private slots:
    void valueKindFollowsType();
    void newRowsAreNullAndNumbered();
    void copyAndAssignment();
    void valuesOutliveTheirRow();
    void colIndex();
};

void TestDBRow::valueKindFollowsType()
{
    const QList<QPair<int, const char *>> kinds = {
        {VEXADB_VOID, typeid(DBStr).name()},      {VEXADB_STRING, typeid(DBStr).name()},
        {VEXADB_INT, typeid(DBInt).name()},       {VEXADB_INT64, typeid(DBInt64).name()},
        {VEXADB_IPADDR, typeid(DBIpAddr).name()}, {VEXADB_PWD, typeid(DBStr).name()},
        {VEXADB_BINARY, typeid(DBBinary).name()}, {VEXADB_PORT, typeid(DBPort).name()},
        {VEXADB_IDLIST, typeid(DBIDList).name()}, {99, typeid(DBStr).name()}};
    for (const auto &[type, kind] : kinds) {
        const DBCOL cols[] = {{type, "c", 0}, {0, nullptr, 0}};
        QCOMPARE(QByteArray(typeid(*DBRow(cols).m_values.at(0)).name()), QByteArray(kind));
    }
}

void TestDBRow::newRowsAreNullAndNumbered()
{
    // One counter for every column table, counting up by one per new row; a copy draws none.
    DBRow row(everyType);
    DBRow second(alias);
    DBRow copy(row);
    DBRow third(alias);
    QCOMPARE(second.m_id, row.m_id + 1);
    QCOMPARE(copy.m_id, row.m_id);
    QCOMPARE(third.m_id, row.m_id + 2);

    QCOMPARE(textsOf(row), QStringList(EveryTypeCount, "<null>"));
    row.m_values[0]->set(QStringLiteral("kept"));
    row.allocEmptyValues();
    QCOMPARE(int(row.m_values.size()), 2 * EveryTypeCount);
    QCOMPARE(row.m_values[0]->text(), QStringLiteral("kept"));
    QVERIFY(DBRow(nullptr).m_values.empty());
}

void TestDBRow::copyAndAssignment()
{
    DBRow row(everyType);
    fillEveryValue(row);
    row.m_values[T]->set(QString());  // an empty STRING is a value, not null
    row.m_values[I]->set(QString());
    const QStringList texts = textsOf(row);
    QCOMPARE(texts.at(T), QString(""));
    QCOMPARE(texts.at(I), QString("<null>"));

    // A copy is deep and keeps the identity number; so does an assignment.
    const DBRow copy(row);
    DBRow target(everyType);
    target = row;
    row.m_values[S]->set(QStringLiteral("changed"));
    for (const DBRow *made : {&copy, &std::as_const(target)}) {
        QCOMPARE(made->m_id, row.m_id);
        QCOMPARE(textsOf(*made), texts);
    }

    // A null source marks the value null and leaves its content: a string shows it, a number hides it.
    target = DBRow(everyType);
    QVERIFY(target.m_values[S]->isNull() && target.m_values[L]->isNull());
    QCOMPARE(target.m_values[S]->text(), Text);
    QCOMPARE(target.m_values[L]->text(), QString());

    // From another column table the values take the new kinds.
    DBRow other(alias);
    other = copy;
    QCOMPARE(other.m_cols, everyType);
    QCOMPARE(textsOf(other), texts);
    QCOMPARE(QByteArray(typeid(*other.m_values[P]).name()), QByteArray(typeid(DBPort).name()));
}

void TestDBRow::valuesOutliveTheirRow()
{
    // A row's values share memory; each keeps it while it lives, wherever it went.
    std::vector<std::unique_ptr<DBVal>> kept;
    {
        DBRow row(everyType);
        fillEveryValue(row);
        kept.swap(row.m_values);
        row.allocEmptyValues();
        row.m_values[S]->set(QStringLiteral("new"));
    }
    kept[T] = std::make_unique<DBStr>();
    kept[T]->set(QStringLiteral("alone"));
    kept[B].reset();
    kept[I]->set(QStringLiteral("5"));
    QCOMPARE(kept[S]->text(), Text);
    QCOMPARE(kept[T]->text(), QStringLiteral("alone"));
    QCOMPARE(kept[I]->text(), QStringLiteral("5"));
    QCOMPARE(kept[D]->text(), QStringLiteral("a,,bc"));
    kept.erase(kept.begin());
    QCOMPARE(kept.back()->text(), Text);
}

void TestDBRow::colIndex()
{
    static const DBCOL cols[] = {{VEXADB_STRING, "lhs", 1}, {VEXADB_STRING, "rhs", 1}, {VEXADB_STRING, "domain", 1},
                                 {VEXADB_STRING, "Domain", 0}, {VEXADB_STRING, "caf\xc3\xa9", 0}, {0, nullptr, 0}};
    const DBRow row(cols);
    QCOMPARE(row.colIndex("DOMAIN"), 2);  // the first of two names that differ in case
    QCOMPARE(row.colIndex("dom"), -1);
    QCOMPARE(row.colIndex(nullptr), -1);
    // Only ASCII letters fold: the accented letter must match as it stands.
    QCOMPARE(row.colIndex("CAF\xc3\xa9"), 4);
    QCOMPARE(row.colIndex("CAF\xc3\x89"), -1);
}

QTEST_MAIN(TestDBRow)
#include "tst_dbrow.moc"
