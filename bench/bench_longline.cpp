// One log line of 20 MB in the log viewer, each figure beside its reference in the same run:
//  1. the time from opening a view on the log to the paint that shows the line, beside the
//     time a bare request takes to receive the same bytes, and beside a view whose line is
//     1 KB;
//  2. the time to scroll sideways to the line's end and paint it there;
//  3. the time to copy the line with the lines around it (Ctrl+C), checked byte for byte;
//  4. the peak memory the process grows by from before the view opens to after the copy
//     (VmHWM over VmRSS, the peak reset before), divided by the line's size, beside the same
//     for the bare request.
//
// The stand-in server runs as a process of its own, on a fixture this benchmark writes, so
// that what it holds and sends counts nowhere here; the view is shown on the offscreen
// platform unless another is chosen.
//
// Usage: bench_longline [runs] [megabytes]

#include "benchgoal.h"
#include "dbconn.h"
#include "dbreq.h"
#include "logpager.h"
#include "logviewrows.h"
#include "processmemory.h"
#include "standinconnection.h"
#include "wndlog.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const char Before[] = "before the long line";
const char After[] = "after the long line";

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double msecsSince(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// A line as a server writes one: numbered fields, so that a byte out of place shows.
QByteArray makeLine(qsizetype size)
{
    QByteArray line;
    line.reserve(size);
    for (qint64 field = 0; line.size() < size; ++field)
        line += "field" + QByteArray::number(field) + "=value" + QByteArray::number(field % 97) + "; ";
    line.truncate(size);
    return line;
}

// --- Memory -------------------------------------------------------------------------------

// The peak resident size reached from now on, over the resident size now.
class PeakGrowth
{
public:
    PeakGrowth() : m_reset(resetPeak()), m_startKiB(statusKiB("VmRSS")) {}
    bool valid() const { return m_reset && m_startKiB >= 0; }
    double bytes() const { return double(statusKiB("VmHWM") - m_startKiB) * 1024.0; }

private:
    bool m_reset;
    qint64 m_startKiB;
};

// --- The stand-in server ------------------------------------------------------------------

// The log "wide" holds the long line between two short ones, "narrow" a line of 1 KB.
bool writeFixture(const QString& path, const QByteArray& longLine)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto log = [&](const char* name, const QByteArray& line) {
        file.write(QByteArray("{\"name\": \"") + name + "\", \"first\": 0, \"lines\": [\"" + Before
                   + "\", \"");
        file.write(line);
        file.write(QByteArray("\", \"") + After + "\"]}");
    };
    file.write("{\"tables\": [], \"logs\": [");
    log("wide", longLine);
    file.write(", ");
    log("narrow", makeLine(1024));
    file.write("]}\n");
    return file.error() == QFileDevice::NoError;
}

// Starts the server on a free port and returns the port, 0 when it did not start.
quint16 startServer(QProcess* server, const QString& fixture)
{
    server->setProgram(QStringLiteral(ORNEL_TESTSERVER_PATH));
    server->setArguments({QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--fixture"), fixture});
    server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server->start();
    if (!server->waitForStarted(10000))
        return 0;
    QByteArray said;
    while (!said.contains('\n') && server->waitForReadyRead(60000))
        said += server->readAllStandardOutput();
    const QByteArray prefix = "listening on 127.0.0.1:";
    if (!said.startsWith(prefix))
        return 0;
    return quint16(said.mid(prefix.size()).trimmed().toUInt());
}

// --- The view -----------------------------------------------------------------------------

std::unique_ptr<WndLog> openView(DBConn* conn, const QString& name)
{
    std::unique_ptr<WndLog> view(createLogView(nullptr, conn, name, Qt::Widget));
    view->resize(800, 400);
    view->show();
    if (!QTest::qWaitFor([&] { return showsItsRows(*view); }, 60000))
        std::fprintf(stderr, "bench_longline: the view did not show the rows of %s\n", qPrintable(name));
    // The rows are drawn by the paint that follows the load.
    view->viewport()->repaint();
    return view;
}

QPoint rowPoint(const WndLog& view, qint64 row, int x)
{
    return QPoint(x, int(row - view.topRow()) * view.lineHeight() + view.lineHeight() / 2);
}

void sendMouse(WndLog& view, QEvent::Type type, const QPoint& pos, Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), view.viewport()->mapToGlobal(QPointF(pos)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, modifiers);
    QApplication::sendEvent(view.viewport(), &event);
}

// The three lines of the log, selected whole and copied with Ctrl+C.
double copyMsecs(WndLog& view)
{
    view.horizontalScrollBar()->setValue(0);
    sendMouse(view, QEvent::MouseButtonPress, rowPoint(view, 0, 10), Qt::ShiftModifier);
    sendMouse(view, QEvent::MouseMove, rowPoint(view, 2, 10), Qt::ShiftModifier);
    sendMouse(view, QEvent::MouseButtonRelease, rowPoint(view, 2, 10), Qt::ShiftModifier);
    QSignalSpy finished(&view, &WndLog::copyFinished);
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    if (finished.isEmpty() && !finished.wait(60000))
        std::fprintf(stderr, "bench_longline: the copy did not end\n");
    return msecsSince(clock);
}

// Where the clipboard differs from the three lines, -1 when it holds them byte for byte.
qsizetype firstDifference(const QByteArray& line)
{
    const QByteArray expected = QByteArray(Before) + "\r\n" + line + "\r\n" + After;
    const QString copied = QApplication::clipboard()->text();
    const qsizetype common = std::min(copied.size(), expected.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (copied.at(i) != QLatin1Char(expected.at(i)))
            return i;
    }
    return copied.size() == expected.size() ? -1 : common;
}

struct ViewRun
{
    double shownMs = 0;
    double endShownMs = 0;
    double copyMs = 0;
    double peakBytes = 0;
    qsizetype difference = -1;
};

ViewRun runView(DBConn* conn, const QString& name, const QByteArray& line)
{
    ViewRun run;
    const PeakGrowth growth;
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<WndLog> view = openView(conn, name);
    run.shownMs = msecsSince(clock);
    if (view->pager()->count() != 3 || view->pager()->line(1).size() != line.size())
        std::fprintf(stderr, "bench_longline: the view does not hold the whole line\n");

    clock.restart();
    QScrollBar* bar = view->horizontalScrollBar();
    bar->setValue(bar->maximum());
    view->viewport()->repaint();
    run.endShownMs = msecsSince(clock);
    int from = 0;
    int to = 0;
    if (!view->shownColumns(1, &from, &to) || to != line.size())
        std::fprintf(stderr, "bench_longline: the line's end is not in view\n");

    run.copyMs = copyMsecs(*view);
    // Before the check, which makes a copy of its own.
    run.peakBytes = growth.bytes();
    run.difference = firstDifference(line);
    QApplication::clipboard()->clear();
    return run;
}

struct BareRun
{
    double receivedMs = 0;
    double peakBytes = 0;
};

// The same bytes through a request of their own, waited for as the pager waits, and looked
// at where the answer holds them.
BareRun runBareRequest(DBConn* conn, qsizetype size)
{
    BareRun run;
    const PeakGrowth growth;
    QElapsedTimer clock;
    clock.start();
    {
        DBReq request(LogPager::logDataStatement(QStringLiteral("wide"), 1, 1), false);
        conn->insert(&request);
        if (!QTest::qWaitFor([&] { return request.m_finished.load(); }, 60000))
            std::fprintf(stderr, "bench_longline: the bare request did not end\n");
        run.receivedMs = msecsSince(clock);
        if (request.cell(0, 0).size() != size + 1)
            std::fprintf(stderr, "bench_longline: the bare request did not bring the line\n");
    }
    run.peakBytes = growth.bytes();
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    // Every large block is mapped for itself and given back when freed; otherwise the
    // allocator keeps freed megabytes resident and hands them out again, and the peak
    // would not see the blocks a later run allocates.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const qsizetype megabytes = argc > 2 ? std::max(1, atoi(argv[2])) : 20;
    const qsizetype size = megabytes * 1024 * 1024;

    QTemporaryDir folder;
    const QString fixture = folder.filePath(QStringLiteral("longline.json"));
    const QByteArray line = makeLine(size);
    QProcess serverProcess;
    if (!folder.isValid() || !writeFixture(fixture, line)) {
        std::fprintf(stderr, "bench_longline: cannot write the fixture\n");
        return 1;
    }
    const quint16 port = startServer(&serverProcess, fixture);
    if (port == 0) {
        std::fprintf(stderr, "bench_longline: the stand-in server did not start\n");
        return 1;
    }
    int status = 0;
    {
        ScopedConnection conn(port);
        if (!conn.connect()) {
            std::fprintf(stderr, "bench_longline: no connection to the stand-in server\n");
            status = 1;
        } else {
            if (!PeakGrowth().valid())
                std::fprintf(stderr, "bench_longline: the peak resident size cannot be reset: "
                                     "memory figures are meaningless\n");
            // A first pass warms the font, the connection and the allocator.
            runView(conn.get(), QStringLiteral("narrow"), makeLine(1024));
            std::vector<double> bareMs, bareBytes, narrowMs, shownMs, endMs, copyMs, peakBytes;
            qsizetype difference = -1;
            for (int i = 0; i < runs; ++i) {
                const BareRun bare = runBareRequest(conn.get(), size);
                bareMs.push_back(bare.receivedMs);
                bareBytes.push_back(bare.peakBytes);
                narrowMs.push_back(runView(conn.get(), QStringLiteral("narrow"), makeLine(1024)).shownMs);
                const ViewRun wide = runView(conn.get(), QStringLiteral("wide"), line);
                shownMs.push_back(wide.shownMs);
                endMs.push_back(wide.endShownMs);
                copyMs.push_back(wide.copyMs);
                peakBytes.push_back(wide.peakBytes);
                if (wide.difference >= 0)
                    difference = wide.difference;
            }
            const double lineBytes = double(size);
            std::printf("a line of %lld MB, median of %d runs:\n", qint64(megabytes), runs);
            std::printf("  shown: %.1f ms; the same bytes through a bare request %.1f ms (ratio %.2f); "
                        "a view on a 1 KB line %.1f ms\n",
                        median(shownMs), median(bareMs), median(shownMs) / median(bareMs), median(narrowMs));
            std::printf("  scrolled to its end and painted there: %.1f ms\n", median(endMs));
            std::printf("  copied with its two neighbours: %.1f ms (%.2f x the bare request); %s\n",
                        median(copyMs), median(copyMs) / median(bareMs),
                        difference < 0 ? "byte for byte"
                                       : qPrintable(QStringLiteral("DIFFERS at byte %1").arg(difference)));
            std::printf("  peak memory growth, opening to copy: %.1f MB, %.2f x the line; "
                        "the bare request %.1f MB, %.2f x the line\n",
                        median(peakBytes) / 1048576.0, median(peakBytes) / lineBytes,
                        median(bareBytes) / 1048576.0, median(bareBytes) / lineBytes);
            printGoal("long line: shown after", median(shownMs), "ms", "<=", 1000);
            printGoal("long line: copied bytes out of place", difference < 0 ? 0.0 : 1.0, "", "<=", 0);
            printGoal("long line: peak memory growth / line size", median(peakBytes) / lineBytes, "x", "<=", 5);
        }
    }
    serverProcess.terminate();
    serverProcess.waitForFinished(10000);
    return status;
}
