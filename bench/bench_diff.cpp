// How long DBTable::diff takes after a single edit, as the table grows. A page calls
// diff after every edit, over the whole table: the time should grow linearly with
// the rows (pairing rows with their originals costs one index per run, not one scan
// per row).

#include "dbtable.h"
#include "vexadbtypes.h"

#include <QTest>

namespace {

const DBCOL userCols[] = {
    {VEXADB_STRING, "name", 1},
    {VEXADB_STRING, "domain", 1},
    {VEXADB_STRING, "fullname", 0},
    {VEXADB_INT64, "quota", 0},
    {VEXADB_INT, "rights", 0},
    {VEXADB_STRING, "comment", 0},
    {0, nullptr, 0},
};

// Rows and originals as a load leaves them.
void fill(DBTable &table, int rows)
{
    table.m_cols = userCols;
    table.m_table = QStringLiteral("user");
    table.m_rows.reserve(rows);
    table.m_orig.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        auto row = std::make_unique<DBRow>(userCols);
        row->m_values[0]->set(QStringLiteral("user%1").arg(i));
        row->m_values[1]->set(QStringLiteral("example.com"));
        row->m_values[2]->set(QStringLiteral("User Number %1").arg(i));
        row->m_values[3]->set(QString::number(qint64(i) << 20));
        row->m_values[4]->set(QString::number(i % 4));
        row->m_values[5]->set(QString());
        table.m_orig.push_back(std::make_unique<DBRow>(*row));
        table.m_rows.push_back(std::move(row));
    }
}

} // namespace

class BenchDiff : public QObject
{
    Q_OBJECT

private slots:
    void diffAfterOneEdit_data();
    void diffAfterOneEdit();
};

void BenchDiff::diffAfterOneEdit_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("1000 rows") << 1000;
    QTest::newRow("10000 rows") << 10000;
    QTest::newRow("100000 rows") << 100000;
}

void BenchDiff::diffAfterOneEdit()
{
    QFETCH(int, rows);

    DBTable table;
    fill(table, rows);
    table.m_rows[rows / 2]->m_values[2]->set(QStringLiteral("Renamed"));

    QBENCHMARK {
        table.diff(true);
    }
    QCOMPARE(table.m_statements.size(), 1);
}

QTEST_MAIN(BenchDiff)
#include "bench_diff.moc"
