// Opening the Scheduling page on 1,000 scheduled actions and on 100, from the stand-in
// server in process, each beside a bare QTreeWidget filled with the same number of rows in
// the same run (times in microseconds: the bare fill of 100 rows takes well under one
// millisecond). Every row is stored with "enabled" 2, so showing it rewrites the value and
// every row is a pending update: the case in which taking the difference once per row
// would make opening grow with the square of the rows.
//
//     bench_sched [large count] [runs]      (the small count is a tenth of the large one)

#include "benchtiming.h"
#include "pagesession.h"
#include "wndsched.h"

#include <QApplication>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>

namespace {

QList<QStringList> scheduledActions(int count)
{
    QList<QStringList> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        rows.append({QString::number(i % 2), QString::number(i + 1), i % 3 ? QString() : QStringLiteral("Night"),
                     QStringLiteral("2"), QStringLiteral("action %1").arg(i), QStringLiteral("0"),
                     QString::number(i % 8)});
    }
    return rows;
}

void fillBare(QTreeWidget* tree, int count)
{
    tree->setSortingEnabled(false);
    tree->clear();
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < count; ++i) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, QStringLiteral("Every %1 minutes").arg(i + 1));
        item->setText(1, QStringLiteral("Send mail"));
        item->setText(2, QStringLiteral("action %1").arg(i));
        item->setCheckState(0, Qt::Checked);
        items.append(item);
    }
    tree->addTopLevelItems(items);
    tree->setSortingEnabled(true);
}

struct Result
{
    Times open, bare;
    int pending = 0;
};

Result measureOpening(int count, int runs)
{
    using namespace StandIn;
    PageSession session;
    session.server->setTable("scheduler",
                             {{"timetype", TypeInt, true}, {"time", TypeInt, true}, {"timeint", TypeString, true},
                              {"enabled", TypeInt}, {"desc", TypeString}, {"allowdial", TypeInt}, {"action", TypeInt}},
                             scheduledActions(count));
    session.server->setTable("timeintervals",
                             {{"name", TypeString, true}, {"desc", TypeString, true}, {"type", TypeInt, true},
                              {"days", TypeString}, {"start", TypeInt}, {"end", TypeInt}},
                             {{"Night", "n", "0", "", "1320", "360"}});
    if (!session.connect())
        qFatal("bench_sched: no connection");
    Result result;
    result.open = measure(runs, [&] {
        WndSched page(nullptr, session.connection(), &session.ctrl, nullptr);
        result.pending = int(session.ctrl.m_pending.size());
    });
    QTreeWidget bare;
    result.bare = measure(runs, [&] { fillBare(&bare, count); });
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int large = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    const int small = large / 10;

    const Result smallResult = measureOpening(small, runs);
    const Result largeResult = measureOpening(large, runs);
    for (const auto& [count, r] : {std::pair{small, smallResult}, std::pair{large, largeResult}}) {
        std::printf("\n%d scheduled actions (%d statements pending after opening)\n", count, r.pending);
        report("  opening the page", r.open, r.bare);
        report("  bare fill", r.bare, r.bare);
    }
    std::printf("\n");
    char what[64];
    std::snprintf(what, sizeof what, "opening, %d / %d scheduled actions", large, small);
    printGoal(what,
              smallResult.open.median > 0 ? double(largeResult.open.median) / double(smallResult.open.median)
                                          : 0.0,
              "x", "<=", 12);
    return 0;
}
