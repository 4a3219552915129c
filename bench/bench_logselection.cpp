// The log viewer's drawing, hit-testing and copying, each beside its reference in the same
// run:
//  1. painting a full view of 60 lines of 200 characters, with a selection over it, beside
//     a bare QPainter::drawText loop over the same texts and positions;
//  2. the hit test of a mouse move over a line of 4,000 characters beside one of 40 (a
//     move event and the column under the pointer, as the repaint asks for it);
//  3. copying 100,000 selected lines beside 10,000, every line read back from the server.
//
// The stand-in server runs in this process; the view is shown on the offscreen platform
// unless another is chosen.
//
// Usage: bench_logselection [repetitions]

#include "benchgoal.h"
#include "logpager.h"
#include "standinconnection.h"
#include "testserver.h"
#include "wndlog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int PaintLines = 60;
constexpr int PaintColumns = 200;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

template<class Work>
double medianMsecs(int runs, Work work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

bool settle(const WndLog& view)
{
    return QTest::qWaitFor(
        [&] {
            const LogPager* pager = view.pager();
            const qint64 end = std::min<qint64>(view.topRow() + view.visibleRows(), pager->count());
            return pager->isOpen() && !view.isLoading() && !pager->isLoading()
                   && pager->covers(view.topRow(), end);
        },
        10000);
}

std::unique_ptr<WndLog> showView(DBConn* conn, const QString& name, int rows)
{
    std::unique_ptr<WndLog> view(createLogView(nullptr, conn, name, Qt::Widget));
    view->resize(1200, 400);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        std::fprintf(stderr, "bench_logselection: the view was not shown\n");
    view->resize(1200, view->height() + rows * view->lineHeight() - view->viewport()->height());
    if (!settle(*view))
        std::fprintf(stderr, "bench_logselection: the view did not load %s\n", qPrintable(name));
    return view;
}

void sendMouse(WndLog& view, QEvent::Type type, const QPoint& pos)
{
    QMouseEvent event(type, QPointF(pos), view.viewport()->mapToGlobal(QPointF(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
}

QPoint rowPoint(const WndLog& view, qint64 row, int x)
{
    return QPoint(x, int(row - view.topRow()) * view.lineHeight() + view.lineHeight() / 2);
}

void measurePainting(DBConn* conn, int runs)
{
    auto view = showView(conn, QStringLiteral("wide"), PaintLines);
    view->verticalScrollBar()->setValue(PaintLines);
    settle(*view);
    const qint64 top = view->topRow();
    // A selection from the middle of the first line to the middle of the last.
    sendMouse(*view, QEvent::MouseButtonPress, rowPoint(*view, top, 300));
    sendMouse(*view, QEvent::MouseMove, rowPoint(*view, top + PaintLines - 1, 600));
    sendMouse(*view, QEvent::MouseButtonRelease, rowPoint(*view, top + PaintLines - 1, 600));

    const QRect area(QPoint(0, 0), view->viewport()->size());
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    QStringList texts;
    for (qint64 row = top; row < top + PaintLines; ++row)
        texts.append(view->pager()->line(row));
    const QFontMetrics metrics(view->font());
    const int lineHeight = view->lineHeight();

    const auto viewPaint = [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(view->font());
        view->drawLines(painter, area);
    };
    const auto barePaint = [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(view->font());
        for (int i = 0; i < texts.size(); ++i)
            painter.drawText(2, i * lineHeight + metrics.ascent(), texts.at(i));
    };
    // Both draw every line: the last line's band holds ink in each.
    const auto inkInLastLine = [&] {
        int ink = 0;
        for (int y = (PaintLines - 1) * lineHeight; y < PaintLines * lineHeight; ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += image.pixel(x, y) != qRgb(255, 255, 255);
        return ink;
    };
    viewPaint();
    const int viewInk = inkInLastLine();
    barePaint();
    const int bareInk = inkInLastLine();
    if (viewInk == 0 || bareInk == 0)
        std::fprintf(stderr, "bench_logselection: a painting left the last line empty\n");
    const double bare = medianMsecs(runs, barePaint);
    const double drawn = medianMsecs(runs, viewPaint);
    view->clearSelect();
    const double plain = medianMsecs(runs, viewPaint);
    const double bareAgain = medianMsecs(runs, barePaint);
    std::printf("painting %d lines x %d characters, selected: %.3f ms; bare drawText loop: "
                "%.3f ms; ratio %.2f\n",
                PaintLines, PaintColumns, drawn, bare, bare > 0 ? drawn / bare : 0.0);
    std::printf("painting %d lines x %d characters, nothing selected: %.3f ms; bare drawText "
                "loop: %.3f ms; ratio %.2f\n",
                PaintLines, PaintColumns, plain, bareAgain, bareAgain > 0 ? plain / bareAgain : 0.0);
    printGoal("painting, selected / bare drawText loop", bare > 0 ? drawn / bare : 0.0, "x", "<=", 1.5);
    printGoal("painting, nothing selected / bare drawText loop", bareAgain > 0 ? plain / bareAgain : 0.0, "x",
              "<=", 1.5);
}

// Microseconds per move over a row, the pointer sweeping across the line's text.
double moveMicros(WndLog& view, qint64 row, int moves)
{
    const int width = std::min(view.columnX(row, int(view.pager()->line(row).size())), 2900);
    sendMouse(view, QEvent::MouseButtonPress, rowPoint(view, row, 2));
    QElapsedTimer clock;
    clock.start();
    int sum = 0;
    for (int i = 0; i < moves; ++i) {
        const int x = 2 + (i * 7919) % std::max(1, width);
        sendMouse(view, QEvent::MouseMove, rowPoint(view, row, x));
        sum += view.columnAt(row, x + view.horizontalScrollBar()->value());
    }
    const double micros = double(clock.nsecsElapsed()) / 1e3 / moves;
    sendMouse(view, QEvent::MouseButtonRelease, rowPoint(view, row, 2));
    view.clearSelect();
    if (sum < 0)
        std::printf("(impossible)\n");
    return micros;
}

void measureHitTesting(DBConn* conn, int runs)
{
    auto view = showView(conn, QStringLiteral("mixed"), 4);
    const qint64 top = view->topRow();
    const int moves = 2000 * runs;
    moveMicros(*view, top, 100);
    moveMicros(*view, top + 1, 100);
    const double shortLine = moveMicros(*view, top, moves);
    const double longLine = moveMicros(*view, top + 1, moves);
    std::printf("hit test of a mouse move: 4,000-character line %.2f us, 40-character line "
                "%.2f us; ratio %.2f\n",
                longLine, shortLine, shortLine > 0 ? longLine / shortLine : 0.0);
    printGoal("hit test, 4,000 / 40-character line", shortLine > 0 ? longLine / shortLine : 0.0, "x", "<=", 5);
}

double copyMsecs(WndLog& view, qint64 first, qint64 lines)
{
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(int(first));
    settle(view);
    sendMouse(view, QEvent::MouseButtonPress, rowPoint(view, first, 2));
    bar->setValue(int(first + lines - 2));
    settle(view);
    sendMouse(view, QEvent::MouseMove, rowPoint(view, first + lines - 1, 500));
    sendMouse(view, QEvent::MouseButtonRelease, rowPoint(view, first + lines - 1, 500));
    QSignalSpy finished(&view, &WndLog::copyFinished);
    QElapsedTimer clock;
    clock.start();
    view.slotCopyText();
    if (finished.isEmpty() && !finished.wait(60000))
        std::fprintf(stderr, "bench_logselection: the copy did not end\n");
    const double msecs = double(clock.nsecsElapsed()) / 1e6;
    if (view.copyText().count(QLatin1String("\r\n")) != lines - 1)
        std::fprintf(stderr, "bench_logselection: the copy holds the wrong number of lines\n");
    return msecs;
}

void measureCopying(DBConn* conn, int runs)
{
    auto view = showView(conn, QStringLiteral("million"), 20);
    std::vector<double> small;
    std::vector<double> large;
    for (int run = 0; run < std::max(1, runs / 4); ++run) {
        small.push_back(copyMsecs(*view, 100000, 10000));
        large.push_back(copyMsecs(*view, 300000, 100000));
    }
    const double smallMs = median(small);
    const double largeMs = median(large);
    std::printf("copying 100,000 lines: %.1f ms; 10,000 lines: %.1f ms; ratio %.2f\n",
                largeMs, smallMs, smallMs > 0 ? largeMs / smallMs : 0.0);
    printGoal("copy, 100,000 / 10,000 lines", smallMs > 0 ? largeMs / smallMs : 0.0, "x", "<=", 12);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    auto server = startStandIn();
    QStringList wide;
    for (int i = 0; i < 4 * PaintLines; ++i) {
        QString line = QStringLiteral("%1 2026-12-07 02:00:%2 smtp[%3] ").arg(i).arg(i % 60).arg(1000 + i);
        while (line.size() < PaintColumns)
            line += QStringLiteral("relay accepted message queue id ");
        wide.append(line.left(PaintColumns));
    }
    server->addLog(QStringLiteral("wide"), wide);
    QString shortLine = QStringLiteral("a line of forty characters, as logs do..");
    QString longLine;
    while (longLine.size() < 4000)
        longLine += shortLine;
    server->addLog(QStringLiteral("mixed"), {shortLine.left(40), longLine.left(4000)});
    server->addSyntheticLog(QStringLiteral("million"), 1000000);

    ScopedConnection conn(server->port());
    if (!conn.connect()) {
        std::fprintf(stderr, "bench_logselection: no connection to the stand-in server\n");
        return 1;
    }
    server->waitForRegistration(server->sessions().constLast().id, 5000);

    measurePainting(conn.get(), runs);
    measureHitTesting(conn.get(), runs);
    measureCopying(conn.get(), runs);
    return 0;
}
