// The open-connection entry against the stand-in server: where and how large the main
// window opens, the geometry it stores, the failure dialog, and the unload request.

#include "consolestandin.h"
#include "dbconn.h"
#include "dialogrecorder.h"
#include "standinconnection.h"
#include "tdlgfailed.h"
#include "wndprogress.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace StandIn;

namespace {

const QString ReasonsNetwork = QStringLiteral(
    "Possible reasons:\n"
    "- you have entered wrong host name or IP address of server application\n"
    "- failure along the network path to the server application\n"
    "- IP traffic is blocked along the network path to the server application");
const QString ReasonsCredentials = QStringLiteral(
    "Possible reasons:\n"
    "- you have entered wrong username or password\n"
    "- you don't have permission to connect the server application");

// A port of 127.0.0.1 on which nobody listens.
quint16 closedPort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

// What the workspace's frame adds around a window (its border and title bar).
QSize FrameDecoration;

QMdiSubWindow* frameOf(QWidget* window)
{
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

struct FailureDialog
{
    QString description;
    QString reasons;
    QString caption;
    QWidget* parent = nullptr;
};

} // namespace

class tst_ModuleConnect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstWindowSize_data();
    void firstWindowSize();
    void storedSizeMaximises_data();
    void storedSizeMaximises();
    void secondWindowCascades();
    void maximisedPreviousWindow();
    void geometryStoredOnClose();
    void geometryKeptWhileMaximised();
    void failures_data();
    void failures();
    void abortShowsCodeZero();
    void closeAsksForUnloadOnce();
    void destroyedWithoutClosingAsksForUnloadToo();
    void waitIndicatorOverTheConsole();

private:
    FailureDialog openExpectingFailure(quint16 port, const char* password);

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ConsoleStandIn> m_console;
};

void tst_ModuleConnect::initTestCase()
{
    m_server = startStandIn();
    Desktop desktop;
    QMdiSubWindow* frame = desktop.addSubWindow(new QWidget);
    const QMargins margins = frame->contentsMargins();
    FrameDecoration = QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
    QVERIFY(FrameDecoration.width() > 0 && FrameDecoration.height() > 0);
}

void tst_ModuleConnect::init()
{
    m_server->clearControls();
    m_server->setGreeting(GreetingPlan());
    m_console = std::make_unique<ConsoleStandIn>();
}

void tst_ModuleConnect::cleanup()
{
    m_console.reset();
}

void tst_ModuleConnect::firstWindowSize_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QSize>("frame");   // invalid: not checked
    QTest::addColumn<QSize>("window");  // invalid: the window's size hint

    // Without a stored size the window asks for more than 500 by 300.
    QTest::newRow("nothing stored") << QSize(0, 0) << QSize() << QSize();
    QTest::newRow("width only") << QSize(720, 0) << QSize() << QSize();
    QTest::newRow("499 wide") << QSize(499, 300) << QSize(500, 300) << QSize(500, 300) - FrameDecoration;
    QTest::newRow("299 high") << QSize(500, 299) << QSize(500, 300) << QSize(500, 300) - FrameDecoration;
    QTest::newRow("exactly 500 by 300") << QSize(500, 300) << QSize(500, 300) + FrameDecoration
                                        << QSize(500, 300);
    QTest::newRow("larger") << QSize(720, 480) << QSize(720, 480) + FrameDecoration << QSize(720, 480);
}

void tst_ModuleConnect::firstWindowSize()
{
    QFETCH(QSize, stored);
    QFETCH(QSize, frame);
    QFETCH(QSize, window);

    if (stored.width())
        m_console->settings()->writeEntry(QStringLiteral("/Admin/Mail/width"), stored.width());
    if (stored.height())
        m_console->settings()->writeEntry(QStringLiteral("/Admin/Mail/height"), stored.height());
    WndMain* opened = m_console->open(m_server->port());
    QVERIFY(opened);
    QVERIFY(opened->isVisible());
    QVERIFY(!opened->isMaximizedInWorkspace());
    QCOMPARE(frameOf(opened)->size() - opened->size(), FrameDecoration);
    if (frame.isValid())
        QCOMPARE(frameOf(opened)->size(), frame);
    if (!window.isValid()) {
        window = opened->sizeHint();
        QVERIFY(window.width() >= 500 && window.height() >= 300);
    }
    QCOMPARE(opened->size(), window);
}

void tst_ModuleConnect::storedSizeMaximises_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QString>("maximized");
    QTest::addColumn<bool>("expected");

    // The workspace is 1000 by 700.
    QTest::newRow("flag") << QSize(600, 400) << "true" << true;
    QTest::newRow("flag without size") << QSize(0, 0) << "true" << true;
    QTest::newRow("wider than the workspace") << QSize(1001, 400) << "false" << true;
    QTest::newRow("higher than the workspace") << QSize(600, 701) << "false" << true;
    QTest::newRow("as large as the workspace") << QSize(1000, 700) << "false" << false;
}

void tst_ModuleConnect::storedSizeMaximises()
{
    QFETCH(QSize, stored);
    QFETCH(QString, maximized);
    QFETCH(bool, expected);

    QCOMPARE(m_console->desktop()->size(), QSize(1000, 700));
    SettingsStore* settings = m_console->settings();
    settings->writeEntry(QStringLiteral("/Admin/Mail/width"), stored.width());
    settings->writeEntry(QStringLiteral("/Admin/Mail/height"), stored.height());
    settings->writeEntry(QStringLiteral("/Admin/Mail/maximized"), maximized);
    WndMain* opened = m_console->open(m_server->port());
    QVERIFY(opened);
    QCOMPARE(opened->isMaximizedInWorkspace(), expected);
}

void tst_ModuleConnect::secondWindowCascades()
{
    m_console->settings()->writeEntry(QStringLiteral("/Admin/Mail/width"), 600);
    m_console->settings()->writeEntry(QStringLiteral("/Admin/Mail/height"), 400);
    WndMain* first = m_console->open(m_server->port());
    QVERIFY(first);
    frameOf(first)->move(30, 40);
    QCOMPARE(m_console->desktop()->activeWindow(), first);

    WndMain* second = m_console->open(m_server->port());
    QVERIFY(second);
    QCOMPARE(frameOf(second)->pos(), QPoint(52, 62));
    QCOMPARE(second->size(), QSize(600, 400));
    QCOMPARE(frameOf(first)->pos(), QPoint(30, 40));
    QCOMPARE(m_console->desktop()->activeWindow(), second);

    WndMain* third = m_console->open(m_server->port());
    QVERIFY(third);
    QCOMPARE(frameOf(third)->pos(), QPoint(74, 84));
}

void tst_ModuleConnect::maximisedPreviousWindow()
{
    WndMain* first = m_console->open(m_server->port());
    QVERIFY(first);
    first->showMaximized();
    QVERIFY(first->isMaximizedInWorkspace());

    WndMain* second = m_console->open(m_server->port());
    QVERIFY(second);
    QVERIFY(second->isMaximizedInWorkspace());
    QCOMPARE(frameOf(second)->geometry(), m_console->desktop()->viewport()->rect());
}

void tst_ModuleConnect::geometryStoredOnClose()
{
    SettingsStore* settings = m_console->settings();
    WndMain* opened = m_console->open(m_server->port());
    QVERIFY(opened);
    opened->resizeInWorkspace(QSize(640, 410));
    QCOMPARE(opened->size(), QSize(640, 410));
    QVERIFY(opened->close());
    QCOMPARE(settings->readEntry(QStringLiteral("/Admin/Mail/width")), QStringLiteral("640"));
    QCOMPARE(settings->readEntry(QStringLiteral("/Admin/Mail/height")), QStringLiteral("410"));
    QCOMPARE(settings->readEntry(QStringLiteral("/Admin/Mail/maximized")), QStringLiteral("false"));

    // The next window opens at that size.
    m_console->closeAll();
    WndMain* next = m_console->open(m_server->port());
    QVERIFY(next);
    QCOMPARE(next->size(), QSize(640, 410));
}

void tst_ModuleConnect::geometryKeptWhileMaximised()
{
    SettingsStore* settings = m_console->settings();
    settings->writeEntry(QStringLiteral("/Admin/Mail/width"), 610);
    settings->writeEntry(QStringLiteral("/Admin/Mail/height"), 390);
    WndMain* opened = m_console->open(m_server->port());
    QVERIFY(opened);
    frameOf(opened)->showMaximized();
    QVERIFY(opened->close());
    QCOMPARE(settings->readEntry(QStringLiteral("/Admin/Mail/maximized")), QStringLiteral("true"));
    QCOMPARE(settings->readNumEntry(QStringLiteral("/Admin/Mail/width")), 610);
    QCOMPARE(settings->readNumEntry(QStringLiteral("/Admin/Mail/height")), 390);
}

FailureDialog tst_ModuleConnect::openExpectingFailure(quint16 port, const char* password)
{
    FailureDialog seen;
    DialogRecorder dialogs;
    dialogs.answerDialog([&seen](QDialog* dialog) {
        if (auto* failed = qobject_cast<TDlgFailed*>(dialog)) {
            seen.description = failed->m_lbDesc->text();
            seen.reasons = failed->m_lbReasons->text();
            seen.caption = failed->windowTitle();
            seen.parent = failed->parentWidget();
        }
        return int(QDialog::Accepted);
    });
    WndMain* opened = m_console->open(port, 0, password);
    if (opened)
        seen.description = QStringLiteral("a window was opened");
    if (dialogs.dialogs.size() != 1)
        seen.caption = QStringLiteral("%1 dialogs").arg(dialogs.dialogs.size());
    return seen;
}

void tst_ModuleConnect::failures_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("reasons");

    QTest::newRow("wrong password") << true << QByteArray("wrong") << "Authentication failed."
                                    << ReasonsCredentials;
    QTest::newRow("nobody listening") << false << QByteArray("admin")
                                      << "Connection has failed with error code 1." << ReasonsNetwork;
}

void tst_ModuleConnect::failures()
{
    QFETCH(bool, reachable);
    QFETCH(QByteArray, password);
    QFETCH(QString, description);
    QFETCH(QString, reasons);

    QSignalSpy unload(m_console->desktop(), &Desktop::signalCloseDll);
    const FailureDialog seen = openExpectingFailure(reachable ? m_server->port() : closedPort(),
                                                    password.constData());
    QCOMPARE(seen.description, description);
    QCOMPARE(seen.reasons, reasons);
    QCOMPARE(seen.caption, QStringLiteral("Ornel Administration Console"));
    QCOMPARE(seen.parent, m_console->console());
    // Nothing is left behind: no window, and the connection has ended.
    QVERIFY(m_console->desktop()->subWindowList().isEmpty());
    QVERIFY(m_console->desktop()->windowList().isEmpty());
    QCOMPARE(WndMain::liveConnections(), 0);
    QCOMPARE(unload.count(), 0);
}

void tst_ModuleConnect::abortShowsCodeZero()
{
    GreetingPlan slow;
    slow.pauseAt = {1};
    slow.pauseMs = 1500;
    m_server->setGreeting(slow);

    // "&Abort" once the indicator is up.
    bool aborted = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* progress = m_console->console()->findChild<WndProgress*>();
        if (progress && progress->isVisible() && !aborted) {
            aborted = true;
            progress->slotAbort();
        }
    });
    poll.start(20);
    const FailureDialog seen = openExpectingFailure(m_server->port(), "admin");
    poll.stop();
    QVERIFY(aborted);
    QCOMPARE(seen.description, QStringLiteral("Connection has failed with error code 0."));
    QCOMPARE(seen.reasons, ReasonsNetwork);
    QVERIFY(m_console->desktop()->subWindowList().isEmpty());
    QCOMPARE(WndMain::liveConnections(), 0);
}

void tst_ModuleConnect::closeAsksForUnloadOnce()
{
    QSignalSpy unload(m_console->desktop(), &Desktop::signalCloseDll);
    int connectionsAtRequest = -1;
    connect(m_console->desktop(), &Desktop::signalCloseDll, this,
            [&] { connectionsAtRequest = WndMain::liveConnections(); });
    QPointer<WndMain> opened = m_console->open(m_server->port(), 0, "admin", testHandle(7));
    QVERIFY(opened);
    QPointer<QMdiSubWindow> frame = frameOf(opened);

    QVERIFY(opened->close());
    // The frame goes with the window.
    QTRY_VERIFY(frame.isNull());
    QTRY_VERIFY(opened.isNull());
    QTRY_COMPARE(unload.count(), 1);
    QCOMPARE(unload.at(0).at(0).value<DLLHANDLE>(), testHandle(7));
    // Asked only once no worker thread of the module runs any more.
    QCOMPARE(connectionsAtRequest, 0);
    QTest::qWait(100);
    QCOMPARE(unload.count(), 1);
}

void tst_ModuleConnect::destroyedWithoutClosingAsksForUnloadToo()
{
    QSignalSpy unload(m_console->desktop(), &Desktop::signalCloseDll);
    WndMain* opened = m_console->open(m_server->port(), 0, "admin", testHandle(3));
    QVERIFY(opened);
    delete frameOf(opened);
    QTRY_COMPARE(unload.count(), 1);
    QCOMPARE(unload.at(0).at(0).value<DLLHANDLE>(), testHandle(3));
    QCOMPARE(WndMain::liveConnections(), 0);
}

void tst_ModuleConnect::waitIndicatorOverTheConsole()
{
    WndMain* opened = m_console->open(m_server->port());
    QVERIFY(opened);
    QCOMPARE(WndProgress::defaultParent(), m_console->console());
}

QTEST_MAIN(tst_ModuleConnect)
#include "tst_moduleconnect.moc"
