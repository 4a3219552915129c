// The mail queue page's Refresh on a queue of 100,000 messages and on one of 10,000, from
// the stand-in server in process, each beside a bare QTreeWidget filled with the same
// texts and sorted once, in the same run. The refresh is also taken apart:
//
//   answer  "select show_queue()" sent and its answer received and parsed (DBReq)
//   table   the answer read into the client-side table's rows, without originals as the
//           page reads it (DBTable::function − answer)
//   items   a list row per message made and shown, put into a list that is not sorting
//   sort    those rows put in the order of their first column, as the page orders them
//
//     bench_queue [large queue] [runs]      (the small queue is a tenth of the large one)

#include "benchtiming.h"
#include "cols.h"
#include "dbconn.h"
#include "dbreq.h"
#include "dbtable.h"
#include "deliverycolumns.h"
#include "keyeditem.h"
#include "pagesession.h"
#include "qqueueitem.h"
#include "wndqueue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>

namespace {

// The texts of every message, filled bare and sorted once, as the page shows them.
void fillBare(QTreeWidget* tree, const DBTable& table)
{
    tree->setSortingEnabled(false);
    tree->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(table.m_rows.size()));
    for (const auto& row : table.m_rows) {
        auto* item = new QTreeWidgetItem;
        for (int column = 0; column < 6; ++column)
            item->setText(column, row->m_values.at(size_t(column))->text());
        items.append(item);
    }
    tree->addTopLevelItems(items);
    tree->setSortingEnabled(true);
}

// The page's rows of a loaded answer, made for a list that does not sort.
QList<QTreeWidgetItem*> makeItems(QTreeWidget* tree, Cols& cols, const DBTable& table)
{
    tree->setSortingEnabled(false);
    cols.clearView();
    cols.fillView();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(table.m_rows.size()));
    int position = 0;
    for (const auto& row : table.m_rows) {
        auto* item = new QQueueItem(nullptr, row.get(), position++, &cols);
        item->show();
        items.append(item);
    }
    return items;
}

void fillItems(QTreeWidget* tree, Cols& cols, const DBTable& table)
{
    tree->addTopLevelItems(makeItems(tree, cols, table));
}

struct Result
{
    Times refresh, answer, load, items, sort, bare;
};

Result measureQueue(int messages, int runs)
{
    PageSession session;
    session.server->generateQueue(messages);
    if (!session.connect())
        qFatal("bench_queue: no connection");
    Result result;

    auto page = std::make_unique<WndQueue>(nullptr, session.connection(), &session.ctrl, nullptr);
    page->resize(900, 600);
    page->show();
    result.refresh = measure(runs, [&] { page->slotRefresh(); });
    if (page->m_list->topLevelItemCount() != messages)
        qFatal("bench_queue: the page lists %d messages, not %d", page->m_list->topLevelItemCount(), messages);

    result.answer = measure(runs, [&] {
        DBReq request(QStringLiteral("select show_queue()"), false);
        session.connection()->insert(&request);
        request.wait(false, nullptr);
        if (request.m_status != 0 || request.rowCount() != messages)
            qFatal("bench_queue: the answer failed");
    });
    DBTable table;
    result.load = measure(runs, [&] {
        if (!table.function(nullptr, session.connection(), "show_queue()", dbcol_queue,
                            DBTable::WithoutOriginals))
            qFatal("bench_queue: the load failed");
    });

    QTreeWidget list;
    list.setRootIsDecorated(false);
    list.setUniformRowHeights(true);
    list.resize(900, 600);
    list.show();
    Cols cols;
    cols.view = &list;
    QQueueItem::addColumns(cols);
    result.items = measure(runs, [&] { fillItems(&list, cols, table); });
    // The page's own ordering: keys made once into one array and sorted there, the rows then
    // put in already in order (the list does not sort them again).
    result.sort = measureTimed(runs, [&] {
        QList<QTreeWidgetItem*> items = makeItems(&list, cols, table);
        QElapsedTimer timer;
        timer.start();
        if (!KeyedItem::sortInListOrder(items, 0, Qt::AscendingOrder))
            qFatal("bench_queue: the queue's rows cannot be ordered by their keys");
        const qint64 microseconds = timer.nsecsElapsed() / 1000;
        list.addTopLevelItems(items);
        return microseconds;
    });

    QTreeWidget bare;
    bare.setRootIsDecorated(false);
    bare.setColumnCount(6);
    bare.sortByColumn(0, Qt::AscendingOrder);
    bare.resize(900, 600);
    bare.show();
    result.bare = measure(runs, [&] { fillBare(&bare, table); });
    page.reset(); // before the session's connection
    return result;
}

double ratio(qint64 a, qint64 b)
{
    return b > 0 ? double(a) / double(b) : 0.0;
}

void print(int messages, const Result& r)
{
    std::printf("\n%d messages (medians; best in brackets)\n", messages);
    auto line = [](const char* what, const Times& t) {
        std::printf("  %-20s %8.1f ms  (%.1f)\n", what, milliseconds(t.median), milliseconds(t.best));
    };
    line("refresh of the page", r.refresh);
    line("  answer", r.answer);
    std::printf("    table              %8.1f ms  (load %.1f ms less the answer)\n",
                milliseconds(r.load.median - r.answer.median), milliseconds(r.load.median));
    line("  items", r.items);
    line("  sort", r.sort);
    line("bare fill and sort", r.bare);
    std::printf("  whole refresh / bare              %.2f x\n", ratio(r.refresh.median, r.bare.median));
    char what[64];
    std::snprintf(what, sizeof what, "refresh without the load / bare, %d messages", messages);
    printGoal(what, ratio(r.refresh.median - r.load.median, r.bare.median), "x", "<=", 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int large = argc > 1 ? std::max(10, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const int small = large / 10;

    const Result smallResult = measureQueue(small, runs);
    const Result largeResult = measureQueue(large, runs);
    print(small, smallResult);
    print(large, largeResult);
    std::printf("\n");
    char what[64];
    std::snprintf(what, sizeof what, "refresh, %d / %d messages", large, small);
    printGoal(what, ratio(largeResult.refresh.median, smallResult.refresh.median), "x", "<=", 11);
    return 0;
}
