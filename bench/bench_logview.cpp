// The log viewer against the stand-in server, in three measurements:
//  1. the time from opening a view to its first full screen, for a log of 10^9 lines beside
//     one of 10^3 lines (the reference), median of several openings each, and their ratio;
//  2. the process's resident memory while a view pages through 10^6 lines, screen by
//     screen, at the start and at the end;
//  3. how long a line the server appends takes to be painted, median and 95th percentile,
//     beside the period of the connection's update timer; then a sustained 1,000 lines a
//     second, with the view's lag behind the log's end sampled every second.
//
// The stand-in server runs in this process; the views are shown on the offscreen platform
// unless another is chosen.
//
// Usage: bench_logview [openings]

#include "benchgoal.h"
#include "logpager.h"
#include "logviewrows.h"
#include "standinconnection.h"
#include "testserver.h"
#include "wndlog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int UpdateTimerMsecs = 200;

std::unique_ptr<WndLog> showView(DBConn* conn, const QString& name, const QSize& size)
{
    std::unique_ptr<WndLog> view(createLogView(nullptr, conn, name, Qt::Widget));
    view->resize(size);
    view->show();
    return view;
}

template<class Condition>
void waitUntil(Condition condition, const char* what)
{
    if (!QTest::qWaitFor(condition, 10000))
        std::fprintf(stderr, "bench_logview: timed out waiting for %s\n", what);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double percentile95(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[std::min(values.size() - 1, values.size() * 95 / 100)];
}

qint64 residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) / 1024 : -1;
}

double firstScreenMsecs(DBConn* conn, const QString& name)
{
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<WndLog> view = showView(conn, name, QSize(800, 600));
    waitUntil([&] { return showsItsRows(*view); }, "the rows in view");
    // The screen is drawn by the paint that follows the load.
    QCoreApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

void measureFirstScreen(DBConn* conn, int openings)
{
    std::vector<double> small;
    std::vector<double> huge;
    for (int i = 0; i < openings; ++i) {
        small.push_back(firstScreenMsecs(conn, QStringLiteral("thousand")));
        huge.push_back(firstScreenMsecs(conn, QStringLiteral("billion")));
    }
    const double smallMedian = median(small);
    const double hugeMedian = median(huge);
    std::printf("first full screen, median of %d: 10^3 lines %.1f ms, 10^9 lines %.1f ms, ratio %.2f\n",
                openings, smallMedian, hugeMedian, hugeMedian / smallMedian);
    printGoal("first full screen, 10^9 / 10^3 lines", hugeMedian / smallMedian, "x", "<=", 1.5);
}

void measurePagingMemory(DBConn* conn)
{
    // A tall view: a thousand rows a screen.
    const std::unique_ptr<WndLog> view = showView(conn, QStringLiteral("million"), QSize(800, 1000));
    view->resize(800, 1000 * view->lineHeight() + 40);
    waitUntil([&] { return showsItsRows(*view); }, "the rows in view");
    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(0);
    waitUntil([&] { return showsItsRows(*view); }, "the rows in view");
    const int step = view->visibleRows();
    qint64 startKiB = 0;
    qint64 peakKiB = 0;
    int largestCache = 0;
    int screens = 0;
    for (qint64 top = 0; top + step <= 1000000; top += step, ++screens) {
        bar->setValue(int(top));
        waitUntil([&] { return showsItsRows(*view); }, "the rows in view");
        QCoreApplication::processEvents();
        largestCache = std::max(largestCache, view->pager()->cachedCount());
        if (screens == 20)
            startKiB = residentKiB();
        if (screens > 20)
            peakKiB = std::max(peakKiB, residentKiB());
    }
    const qint64 endKiB = residentKiB();
    std::printf("paging 10^6 lines in %d screens of %d rows: resident %lld KiB after 20 screens, %lld KiB at the end "
                "(largest %lld KiB), difference %+lld KiB; largest cache %d lines, %lld lines received\n",
                screens, step, startKiB, endKiB, peakKiB, endKiB - startKiB, largestCache,
                view->pager()->linesReceived());
    printGoal("paging 10^6 lines, resident size moved by", double(std::llabs(endKiB - startKiB)) / 1024.0, "MB",
              "<=", 5);
}

// From the server's append to the paint that draws the new last line.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(WndLog* view) : m_view(view) { view->viewport()->installEventFilter(this); }

    qint64 awaitedRow = -1;
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && awaitedRow >= 0 && m_view->pager()->isCached(awaitedRow)
            && m_view->showsEnd()) {
            painted = true;
        }
        return false;
    }

private:
    WndLog* m_view;
};

void measureFollowing(DBConn* conn, StandIn::TestServer& server)
{
    const QString log = QStringLiteral("growing");
    const std::unique_ptr<WndLog> view = showView(conn, log, QSize(800, 600));
    waitUntil([&] { return showsItsRows(*view); }, "the rows in view");
    PaintWatch watch(view.get());

    std::vector<double> latencies;
    for (int i = 0; i < 60; ++i) {
        // Appends fall anywhere in the timer's period.
        QTest::qWait(int(QRandomGenerator::global()->bounded(50, 260)));
        StandIn::LogExtent extent;
        server.logExtent(log, &extent);
        watch.awaitedRow = qint64(extent.end - extent.first);
        watch.painted = false;
        QElapsedTimer clock;
        clock.start();
        server.appendLogLines(log, {QStringLiteral("line %1").arg(i)});
        waitUntil([&] { return watch.painted; }, "the appended line");
        latencies.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("follow latency of %zu appends: median %.1f ms, 95th percentile %.1f ms; update timer period %d ms\n",
                latencies.size(), median(latencies), percentile95(latencies), UpdateTimerMsecs);
    printGoal("follow latency, median", median(latencies), "ms", "<=", UpdateTimerMsecs + 20);

    // 1,000 lines a second, ten every 10 ms, for five seconds.
    QTimer feeder;
    int fed = 0;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        QStringList lines;
        for (int i = 0; i < 10; ++i)
            lines.append(QStringLiteral("sustained %1").arg(fed++));
        server.appendLogLines(log, lines);
    });
    QElapsedTimer clock;
    clock.start();
    feeder.start(10);
    std::printf("sustained 1,000 lines/s:");
    for (int second = 1; second <= 5; ++second) {
        QTest::qWait(1000);
        StandIn::LogExtent extent;
        server.logExtent(log, &extent);
        const qint64 serverEnd = qint64(extent.end - extent.first);
        qint64 viewEnd = view->pager()->end();
        std::printf(" %ds: %lld lines appended, view %lld lines behind%s;", second, qint64(fed),
                    serverEnd - viewEnd, view->showsEnd() ? " at its end" : " NOT at its end");
    }
    feeder.stop();
    std::printf(" (%.1f s)\n", double(clock.elapsed()) / 1000.0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int openings = argc > 1 ? std::max(1, atoi(argv[1])) : 15;

    auto server = startStandIn();
    server->addSyntheticLog(QStringLiteral("thousand"), 1000);
    server->addSyntheticLog(QStringLiteral("billion"), 1000000000u);
    server->addSyntheticLog(QStringLiteral("million"), 1000000);
    server->addLog(QStringLiteral("growing"), {QStringLiteral("first")});

    ScopedConnection conn(server->port());
    if (!conn.connect()) {
        std::fprintf(stderr, "bench_logview: no connection to the stand-in server\n");
        return 1;
    }
    server->waitForRegistration(server->sessions().constLast().id, 5000);

    measureFirstScreen(conn.get(), openings);
    measurePagingMemory(conn.get());
    measureFollowing(conn.get(), *server);
    return 0;
}
