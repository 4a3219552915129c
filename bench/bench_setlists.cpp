// The IP Address Groups and Time Ranges pages opened on 100,000 rows and on 10,000, from the
// stand-in server in process, in the same run: the page's load and its list of sets, each
// set a heading with its rows below it. The rows fall into sets of ten, so a list that
// looked each set's rows up among all the rows would grow with the square of the rows.
//
//     bench_setlists [large rows] [runs]      (the small table is a tenth of the large one)

#include "benchtiming.h"
#include "pagesession.h"
#include "wndipgroup.h"
#include "wndtimeint.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace StandIn;

namespace {

constexpr int RowsPerSet = 10;

QList<QStringList> addressGroups(int rows)
{
    QList<QStringList> table;
    table.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        table.append({QStringLiteral("group %1").arg(i / RowsPerSet),
                      QStringLiteral("10.%1.%2.%3").arg(i >> 16 & 255).arg(i >> 8 & 255).arg(i & 255),
                      QStringLiteral("host %1").arg(i)});
    }
    return table;
}

QList<QStringList> timeRanges(int rows)
{
    QList<QStringList> table;
    table.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        table.append({QStringLiteral("range %1").arg(i / RowsPerSet), QStringLiteral("part %1").arg(i),
                      QString::number(i % 2), QStringLiteral("1111100"),
                      QString::number(i % 1440), QString::number((i + 60) % 1440)});
    }
    return table;
}

void installTables(TestServer& server, int rows)
{
    server.setTable("ipaccesslist", {{"Name", TypeString, true}, {"Value", TypeString, true}, {"Desc", TypeString}},
                    addressGroups(rows));
    server.setTable("timeintervals",
                    {{"name", TypeString, true}, {"desc", TypeString, true}, {"type", TypeInt, true},
                     {"days", TypeString}, {"start", TypeInt}, {"end", TypeInt}},
                    timeRanges(rows));
}

template<class Page>
Times measureOpening(int rows, int runs)
{
    PageSession session;
    installTables(*session.server, rows);
    if (!session.connect())
        qFatal("bench_setlists: no connection");
    session.owner.show();
    // Each page goes after its clock has stopped: opening is what is measured.
    std::unique_ptr<Page> page;
    return measureTimed(runs, [&] {
        page.reset();
        QElapsedTimer clock;
        clock.start();
        page = std::make_unique<Page>(&session.owner, session.connection(), &session.ctrl, nullptr,
                                      Qt::WindowFlags(), nullptr);
        const qint64 elapsed = clock.nsecsElapsed() / 1000;
        if (page->m_list->topLevelItemCount() != rows / RowsPerSet)
            qFatal("bench_setlists: the page lists %d sets, not %d", page->m_list->topLevelItemCount(),
                   rows / RowsPerSet);
        return elapsed;
    });
}

double ratio(qint64 a, qint64 b)
{
    return b > 0 ? double(a) / double(b) : 0.0;
}

template<class Page>
void measurePage(const char* title, int large, int runs)
{
    const int small = large / 10;
    // The small table is opened more often: its few milliseconds vary more.
    const Times smallTimes = measureOpening<Page>(small, 3 * runs);
    const Times largeTimes = measureOpening<Page>(large, runs);
    std::printf("%s: opened on %d rows, median %.1f ms (best %.1f); on %d rows, median %.1f ms (best %.1f)\n",
                title, small, milliseconds(smallTimes.median), milliseconds(smallTimes.best), large,
                milliseconds(largeTimes.median), milliseconds(largeTimes.best));
    char what[96];
    std::snprintf(what, sizeof what, "%s: opening, %d / %d rows", title, large, small);
    printGoal(what, ratio(largeTimes.median, smallTimes.median), "x", "<=", 11);
    std::snprintf(what, sizeof what, "%s: opening on %d rows", title, large);
    printGoal(what, milliseconds(largeTimes.median), "ms", "<=", 1000);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int large = argc > 1 ? std::max(10 * RowsPerSet, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    measurePage<WndIPGroup>("IP Address Groups", large, runs);
    measurePage<WndTimeInt>("Time Ranges", large, runs);
    return 0;
}
