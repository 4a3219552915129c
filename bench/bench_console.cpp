// The console as the administrator meets it, against the stand-in server's demo data, with
// the built module loaded as the console host loads it:
//
// - start-up: from module_connect to the main window drawn with the product page, beside
//   the handshake alone (greeting, session key, identification and login with the protocol
//   client, then closed), the two alternating in the same run;
// - a walk through every item of the navigation tree: from choosing the item to its page
//   drawn, per page, slowest first.
//
// "Drawn" is the first paint of the new window or page. A log page is drawn before its
// lines arrive; they follow from the server as the viewer asks for them.
//
// Usage: bench_console [runs]

#include "desktop.h"
#include "modulelibrary.h"
#include "navigation.h"
#include "testserver.h"
#include "vexadb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSplitter>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

// Goals. On the loopback interface the handshake is as cheap as it gets, and what the
// window adds (its widgets, the log list, the SSL flag, the product page's facts) weighs
// most: opening a server may cost 20 handshakes there. Over a network the few requests of
// the window add round trips beside the handshake's own, and the ratio only falls. No page
// may take longer than a person waits without noticing.
constexpr double StartupGoalRatio = 20.0;
constexpr double PageGoalMs = 100.0;
// Anything that has not painted by then is reported as not drawn.
constexpr int DrawnWithinMs = 10000;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
}

double msSince(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// Notes the first paint of a widget for which `watched` says yes.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(std::function<bool(const QWidget*)> watched) : m_watched(std::move(watched))
    {
        qApp->installEventFilter(this);
    }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    // Processes events until the paint came; false when it did not.
    bool waitForPaint()
    {
        return QTest::qWaitFor([this] { return m_painted; }, DrawnWithinMs);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (!m_painted && event->type() == QEvent::Paint && object->isWidgetType()
            && m_watched(static_cast<QWidget*>(object)))
            m_painted = true;
        return false;
    }

private:
    std::function<bool(const QWidget*)> m_watched;
    bool m_painted = false;
};

bool isWithinClass(const QWidget* widget, const char* className)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (qstrcmp(w->metaObject()->className(), className) == 0)
            return true;
    }
    return false;
}

// The console's window: the workspace in it. Unload requests are not followed: the module
// stays loaded for the next run.
struct ConsoleStandIn : QWidget
{
    ConsoleStandIn()
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(desktop);
        resize(1024, 720);
        show();
    }
    Desktop* desktop = new Desktop(this);
};

class Console
{
public:
    Console(ModuleLibrary& module, quint16 port) : m_module(module), m_port(QByteArray::number(port)) {}

    // Opens the server and waits for the product page to be drawn; the time it took, or a
    // negative value when it was not drawn.
    double open()
    {
        PaintWatch watch([](const QWidget* widget) { return isWithinClass(widget, "WndDlgLogo"); });
        QElapsedTimer clock;
        clock.start();
        m_module.entry().module_connect(m_console.desktop, 0, "127.0.0.1", m_port.constData(), "admin",
                                        "admin", 0, m_module.handle(), 0);
        return watch.waitForPaint() ? msSince(clock) : -1.0;
    }

    QWidget* window() const
    {
        const QList<QMdiSubWindow*> frames = m_console.desktop->subWindowList();
        return frames.isEmpty() ? nullptr : frames.constLast()->widget();
    }

    void close()
    {
        for (QMdiSubWindow* frame : m_console.desktop->subWindowList())
            frame->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Chooses the item titled title and waits for what it shows to be drawn.
    double choose(const QString& title)
    {
        QWidget* main = window();
        const QTreeWidget* tree = navigationTree(main);
        auto* split = qobject_cast<QSplitter*>(tree->parentWidget());
        QWidget* pane = split ? split->widget(1) : nullptr;
        const QList<QWidget*> before = pane ? pane->findChildren<QWidget*>() : QList<QWidget*>();
        PaintWatch watch([pane, &before](const QWidget* widget) {
            return pane && pane->isAncestorOf(widget) && !before.contains(widget);
        });
        QElapsedTimer clock;
        clock.start();
        if (!selectNavigationItem(m_console.desktop, title))
            return -1.0;
        return watch.waitForPaint() ? msSince(clock) : -1.0;
    }

private:
    ModuleLibrary& m_module;
    QByteArray m_port;
    ConsoleStandIn m_console;
};

double handshake(quint16 port)
{
    QElapsedTimer clock;
    clock.start();
    vexadb_handle handle = nullptr;
    int syserr = 0, version = 0, n1 = 0, n2 = 0, n3 = 0;
    unsigned authResult = 0;
    const QByteArray portText = QByteArray::number(port);
    if (vexadb_open(&handle, "127.0.0.1", portText.constData(), "Ornel Admin 5.0 (Linux)", 0, &syserr,
                    &version, &n1, &n2, &n3)
            != VEXADB_OK
        || vexadb_authenticate(handle, "admin", "admin", &authResult) != VEXADB_OK) {
        qFatal("the handshake failed");
    }
    const double ms = msSince(clock);
    vexadb_close(handle);
    return ms;
}

// The console closed its windows: their connections end on their own.
void waitForSessionsToEnd(const StandIn::TestServer& server)
{
    const bool ended = QTest::qWaitFor([&server] {
        const QList<StandIn::SessionInfo> sessions = server.sessions();
        return std::none_of(sessions.cbegin(), sessions.cend(),
                            [](const StandIn::SessionInfo& session) { return session.connected; });
    }, 10000);
    if (!ended)
        qFatal("a connection did not end");
}

// Every item of the tree, in the tree's order, as titles.
QStringList treeTitles(const QWidget* window)
{
    QStringList titles;
    for (QTreeWidgetItemIterator it(navigationTree(window)); *it; ++it)
        titles.append((*it)->text(0));
    return titles;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    StandIn::ServerOptions options;
    options.port = 0;
    StandIn::TestServer server(options);
    QString error;
    if (!server.start(&error))
        qFatal("the stand-in server did not start: %s", qPrintable(error));

    ModuleLibrary module;
    if (!module.load(QStringLiteral(ORNEL_MODULE_PATH), &error) || !module.entry().module_init())
        qFatal("the module did not load: %s", qPrintable(error));
    Console console(module, server.port());

    // Warm both up once.
    handshake(server.port());
    console.open();
    console.close();

    QList<double> startups;
    QList<double> handshakes;
    for (int run = 0; run < runs; ++run) {
        waitForSessionsToEnd(server);
        handshakes.append(handshake(server.port()));
        const double startup = console.open();
        if (startup < 0)
            qFatal("the main window was not drawn");
        startups.append(startup);
        console.close();
    }
    const double startup = median(startups);
    const double alone = median(handshakes);
    std::printf("start-up, median of %d: module_connect to the product page drawn %.1f ms, "
                "handshake alone %.1f ms, ratio %.2f (goal <= %.1f)\n",
                runs, startup, alone, alone > 0 ? startup / alone : 0.0, StartupGoalRatio);

    waitForSessionsToEnd(server);
    if (console.open() < 0)
        qFatal("the main window was not drawn");
    const QStringList titles = treeTitles(console.window());
    // The window opened on the first item: the walk starts from the last.
    console.choose(titles.constLast());
    std::map<QString, QList<double>> perPage;
    for (int run = 0; run < runs; ++run) {
        // From another item to each: the walk ends where it starts.
        for (const QString& title : titles) {
            const double ms = console.choose(title);
            if (ms < 0)
                qFatal("\"%s\" was not drawn", qPrintable(title));
            perPage[title].append(ms);
        }
    }
    console.close();

    QList<std::pair<double, QString>> slowestFirst;
    for (const auto& [title, times] : perPage)
        slowestFirst.append({median(times), title});
    std::sort(slowestFirst.begin(), slowestFirst.end(), std::greater<>());
    std::printf("\nwalk through %lld items, median of %d runs, slowest first (goal: each <= %.0f ms)\n",
                static_cast<long long>(titles.size()), runs, PageGoalMs);
    for (const auto& [ms, title] : slowestFirst)
        std::printf("  %-24s %7.1f ms%s\n", qPrintable(title), ms, ms > PageGoalMs ? "  over the goal" : "");

    waitForSessionsToEnd(server);
    return 0;
}
