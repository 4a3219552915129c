// How long DBTable::diff takes after a single edit, as the table grows: 1,000, 10,000 and
// 100,000 rows, in the same run. A page calls diff after every edit, over the whole table:
// the time should grow linearly with the rows (pairing rows with their originals costs one
// index per run, not one scan per row).
//
// Each size is timed twice. Warm: diff after diff, as a tight loop runs it, so that a table
// of 10,000 rows stays in the processor's caches while one of 100,000 does not, and the ratio
// measures the caches as much as the rows. Cold: the caches are emptied before each diff (a
// buffer larger than them written), as they are after an administrator worked in a dialog.
//
//     bench_diff [runs]

#include "benchgoal.h"
#include "dbtable.h"
#include "vexadbtypes.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

// Larger than any last-level cache the benchmark is likely to meet.
void emptyCaches()
{
    static std::vector<char> buffer(size_t(256) << 20);
    static char round = 0;
    ++round;
    for (size_t i = 0; i < buffer.size(); i += 64)
        buffer[i] = round;
}

double medianMicroseconds(int runs, bool cold, DBTable &table)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        if (cold)
            emptyCaches();
        QElapsedTimer clock;
        clock.start();
        const QStringList *statements = table.diff(true);
        times.push_back(double(clock.nsecsElapsed()) / 1e3);
        if (statements->size() != 1)
            qFatal("bench_diff: %lld statements instead of one", static_cast<long long>(statements->size()));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    const int sizes[] = {1000, 10000, 100000};
    double warm[3] = {};
    double cold[3] = {};
    for (int s = 0; s < 3; ++s) {
        DBTable table;
        fill(table, sizes[s]);
        table.m_rows[size_t(sizes[s] / 2)]->m_values[2]->set(QStringLiteral("Renamed"));
        warm[s] = medianMicroseconds(runs, false, table);
        cold[s] = medianMicroseconds(runs, true, table);
        std::printf("%6d rows: diff after one edit, median of %d: warm %9.1f us, cold %9.1f us\n",
                    sizes[s], runs, warm[s], cold[s]);
    }
    printGoal("diff after one edit, warm, 100000 / 10000 rows", warm[2] / warm[1], "x", "<=", 11);
    printGoal("diff after one edit, cold, 100000 / 10000 rows", cold[2] / cold[1], "x", "<=", 11);
    return 0;
}
