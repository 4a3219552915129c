// Filling a list page of 100,000 rows and 10 columns through the column binding (columns
// rebuilt from the model, items placed by the model, sorting held off during the fill and
// done once after, automatic columns fitted), beside a bare QTreeWidget filled with
// addTopLevelItems() and sorted once, in the same run.
//
//     bench_listview [rows] [runs]

#include "benchtiming.h"
#include "testlistpage.h"

#include <QApplication>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>
#include <cstdio>

namespace {

const int columnCount = 10;

QList<QStringList> makeRows(int count)
{
    QList<QStringList> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        // Scrambled, so that the sort has work to do.
        const int key = int((quint64(i) * 7919u) % quint64(count));
        QStringList row;
        row.reserve(columnCount);
        row.append(QStringLiteral("user%1").arg(key, 6, 10, QLatin1Char('0')));
        for (int c = 1; c < columnCount; ++c)
            row.append(QStringLiteral("value %1.%2").arg(key % (c * 97 + 13)).arg(c));
        rows.append(row);
    }
    return rows;
}

QList<TestColumn> makeColumns()
{
    QList<TestColumn> columns;
    for (int c = 0; c < columnCount; ++c)
        columns.append({QStringLiteral("Column %1").arg(c), true});
    return columns;
}

void fillBare(QTreeWidget* tree, const QList<QStringList>& rows)
{
    tree->setSortingEnabled(false);
    tree->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const QStringList& row : rows) {
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < columnCount; ++c)
            item->setText(c, row.at(c));
        items.append(item);
    }
    tree->addTopLevelItems(items);
    tree->setSortingEnabled(true);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rowCount = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const QList<QStringList> rows = makeRows(rowCount);

    QTreeWidget bareTree;
    bareTree.setRootIsDecorated(false);
    bareTree.setColumnCount(columnCount);
    bareTree.sortByColumn(0, Qt::AscendingOrder);
    bareTree.resize(800, 600);
    bareTree.show();
    const Times bare = measure(runs, [&] { fillBare(&bareTree, rows); });

    // No workspace: nothing is stored.
    TestListPage automatic(nullptr, makeColumns(), {});
    automatic.resize(800, 600);
    automatic.show();
    const Times bound = measure(runs, [&] { automatic.setRows(rows); });

    // The same with every width fixed, as after the administrator has sized the columns.
    TestListPage fixed(nullptr, makeColumns(), {});
    for (int c = 0; c < columnCount; ++c)
        fixed.cols().width[c] = 80;
    fixed.layout().updateView();
    fixed.resize(800, 600);
    fixed.show();
    const Times boundFixed = measure(runs, [&] { fixed.setRows(rows); });

    if (automatic.list()->topLevelItemCount() != rowCount
        || automatic.list()->topLevelItem(0)->text(0) != bareTree.topLevelItem(0)->text(0)) {
        std::fprintf(stderr, "bench_listview: the two lists differ\n");
        return 1;
    }

    std::printf("%d rows, %d columns, %d runs each\n", rowCount, columnCount, runs);
    report("bare addTopLevelItems + one sort", bare, bare);
    report("through the binding, automatic widths", bound, bare);
    report("through the binding, fixed widths", boundFixed, bare);
    // The goal of the other list pages' benchmarks.
    printGoal("fill through the binding, automatic widths / bare",
              bare.median > 0 ? double(bound.median) / double(bare.median) : 0.0, "x", "<=", 2);
    printGoal("fill through the binding, fixed widths / bare",
              bare.median > 0 ? double(boundFixed.median) / double(bare.median) : 0.0, "x", "<=", 2);
    return 0;
}
