// How a cell's text becomes a number: by the old C library's reading of a leading number,
// or by the conversion of the whole text.

#include "cellnumbers.h"
#include "dbtable.h"

#include <QtTest>

#include <limits>

namespace {

constexpr qint64 Largest = std::numeric_limits<qint64>::max();
constexpr qint64 Smallest = std::numeric_limits<qint64>::min();

} // namespace

class tst_CellNumbers : public QObject
{
    Q_OBJECT

private slots:
    void bothRules_data();
    void bothRules();
    void wholeNumberOfARowsCell();
};

void tst_CellNumbers::bothRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("leading");
    QTest::addColumn<int>("leadingInt");
    QTest::addColumn<int>("whole");

    QTest::newRow("empty") << "" << qint64(0) << 0 << 0;
    QTest::newRow("digits") << "1800" << qint64(1800) << 1800 << 1800;
    QTest::newRow("no number") << "abc" << qint64(0) << 0 << 0;
    QTest::newRow("number then text") << "12abc" << qint64(12) << 12 << 0;
    QTest::newRow("blanks around and a sign") << "  \t-42 " << qint64(-42) << -42 << -42;
    QTest::newRow("plus") << "+7" << qint64(7) << 7 << 7;
    QTest::newRow("minus and zeros") << "-001" << qint64(-1) << -1 << -1;
    QTest::newRow("sign alone") << "-" << qint64(0) << 0 << 0;
    QTest::newRow("beyond 32 bits") << "4294967296" << qint64(4294967296) << 2147483647 << 0;
    QTest::newRow("below an int") << "-99999999999" << qint64(-99999999999) << int(-2147483647 - 1) << 0;
    QTest::newRow("beyond 64 bits") << "99999999999999999999x" << Largest << 2147483647 << 0;
    QTest::newRow("the largest") << "9223372036854775807" << Largest << 2147483647 << 0;
    QTest::newRow("the smallest") << "-9223372036854775808" << Smallest << int(-2147483647 - 1) << 0;
    QTest::newRow("below 64 bits") << "-9223372036854775809" << Smallest << int(-2147483647 - 1) << 0;
    QTest::newRow("other digits than ASCII") << QString::fromUtf8("\u0663\u0664") << qint64(0) << 0 << 0;
}

void tst_CellNumbers::bothRules()
{
    QFETCH(QString, text);
    QFETCH(qint64, leading);
    QFETCH(int, leadingInt);
    QFETCH(int, whole);
    QCOMPARE(CellNumbers::leadingNumber(text), leading);
    QCOMPARE(CellNumbers::leadingInt(text), leadingInt);
    QCOMPARE(CellNumbers::wholeNumber(text), whole);
}

void tst_CellNumbers::wholeNumberOfARowsCell()
{
    static const DBCOL columns[] = {{1, "name", 1}, {2, "Rights", 0}, {1, "note", 0}, {0, nullptr, 0}};
    DBTable table;
    table.m_cols = columns;
    DBRow* row = table.append();
    row->m_values[1]->set(QStringLiteral("3"));
    row->m_values[2]->set(QStringLiteral("3 more"));
    QCOMPARE(CellNumbers::wholeNumber(row, "rights"), 3); // found ignoring case
    QCOMPARE(CellNumbers::wholeNumber(row, "note"), 0);
    QCOMPARE(CellNumbers::wholeNumber(row, "missing"), 0);
    QCOMPARE(CellNumbers::wholeNumber(nullptr, "rights"), 0);
}

QTEST_GUILESS_MAIN(tst_CellNumbers)
#include "tst_cellnumbers.moc"
