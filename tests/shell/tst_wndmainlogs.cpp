// The main window's log windows against the stand-in server: the tree's menu on a log, the
// separate log windows with their size, caption and registration, their closing with their
// frame and with the main window, and a log viewer in the pane that refuses to close while
// it loads.

#include "dialogrecorder.h"
#include "logpager.h"
#include "shellharness.h"
#include "wndlog.h"

#include <QMenu>
#include <QPointer>

using namespace StandIn;

namespace {

QMenu* shownMenu(const QWidget* window)
{
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        if (menu->isVisible())
            return menu;
    }
    return nullptr;
}

QMdiSubWindow* frameOf(QWidget* window)
{
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

} // namespace

class tst_WndMainLogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuOnlyOnALog_data();
    void menuOnlyOnALog();
    void separateWindow_data();
    void separateWindow();
    void closingTheFrameForgetsTheWindow();
    void closingTheMainWindowClosesItsLogWindows_data();
    void closingTheMainWindowClosesItsLogWindows();
    void paneViewThatRefusedIsClosedAtTheNextSwitch();

private:
    WndLog* openSeparateWindow(const QString& logPath);

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ConsoleStandIn> m_console;
    WndMain* m_window = nullptr;
};

void tst_WndMainLogs::initTestCase()
{
    m_server = startStandIn();
}

void tst_WndMainLogs::init()
{
    m_server->clearControls();
    m_console = std::make_unique<ConsoleStandIn>();
    m_window = m_console->open(m_server->port());
    QVERIFY(m_window);
}

void tst_WndMainLogs::cleanup()
{
    m_console.reset();
}

WndLog* tst_WndMainLogs::openSeparateWindow(const QString& logPath)
{
    QTreeWidgetItem* item = treeItem(m_window, logPath);
    if (!item)
        return nullptr;
    m_window->rightButtonClicked(item, m_window->mapToGlobal(QPoint(10, 10)), 0);
    QMenu* menu = shownMenu(m_window);
    if (!menu || menu->actions().size() != 1)
        return nullptr;
    menu->actions().constFirst()->trigger();
    menu->close();
    const QList<WndLog*> windows = m_window->getLogWindows();
    return windows.isEmpty() ? nullptr : windows.constLast();
}

void tst_WndMainLogs::menuOnlyOnALog_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("menu");
    QTest::newRow("a log") << "Logs/smtp" << true;
    QTest::newRow("the debug log") << "Logs/debug" << true;
    QTest::newRow("Logs itself") << "Logs" << false;
    QTest::newRow("another item") << "Status/Mail Queue" << false;
    QTest::newRow("empty space") << "" << false;
}

void tst_WndMainLogs::menuOnlyOnALog()
{
    QFETCH(QString, path);
    QFETCH(bool, menu);

    QTreeWidgetItem* item = path.isEmpty() ? nullptr : treeItem(m_window, path);
    QVERIFY(path.isEmpty() || item);
    m_window->rightButtonClicked(item, m_window->mapToGlobal(QPoint(10, 10)), 0);
    QMenu* shown = shownMenu(m_window);
    QCOMPARE(shown != nullptr, menu);
    if (menu) {
        QCOMPARE(shown->actions().size(), 1);
        QCOMPARE(shown->actions().constFirst()->text(), QStringLiteral("Open log in separate window"));
        shown->close();
    }
    QVERIFY(m_window->getLogWindows().isEmpty());
}

void tst_WndMainLogs::separateWindow_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QSize>("mainSize");
    QTest::addColumn<QSize>("expected"); // invalid: all the room the workspace has
    QTest::addColumn<QString>("objectName");

    QTest::newRow("nothing stored: 80 % of the active window, cut")
        << "smtp" << QSize() << QSize(801, 599) << QSize(640, 479) << "Corvane_Log";
    QTest::newRow("the stored size") << "smtp" << QSize(530, 310) << QSize(801, 599) << QSize(530, 310)
                                     << "Corvane_Log";
    QTest::newRow("the debug log") << "debug" << QSize() << QSize(700, 500) << QSize(560, 400)
                                   << "Corvane_Debug_Log";
    QTest::newRow("a stored size larger than the workspace")
        << "smtp" << QSize(1500, 900) << QSize(801, 599) << QSize() << "Corvane_Log";
}

void tst_WndMainLogs::separateWindow()
{
    QFETCH(QString, log);
    QFETCH(QSize, stored);
    QFETCH(QSize, mainSize);
    QFETCH(QSize, expected);
    QFETCH(QString, objectName);

    if (stored.isValid()) {
        m_console->settings()->writeEntry(QStringLiteral("/Admin/Logs/%1/width").arg(log), stored.width());
        m_console->settings()->writeEntry(QStringLiteral("/Admin/Logs/%1/height").arg(log), stored.height());
    }
    m_window->resizeInWorkspace(mainSize);
    m_console->desktop()->setActiveSubWindow(frameOf(m_window));
    QCOMPARE(m_window->size(), mainSize);

    WndLog* view = openSeparateWindow(QStringLiteral("Logs/") + log);
    QVERIFY(view);
    QCOMPARE(m_window->getLogWindows(), QList<WndLog*>{view});
    QCOMPARE(view->objectName(), objectName);
    QVERIFY(view->isDetached());
    QVERIFY(frameOf(view));
    // Whole in the workspace.
    const QWidget* workspace = m_console->desktop()->viewport();
    if (!expected.isValid())
        expected = workspace->size() - (frameOf(view)->size() - view->size());
    QCOMPARE(view->size(), expected);
    QVERIFY(workspace->rect().contains(frameOf(view)->geometry()));
    QCOMPARE(view->windowTitle(), QStringLiteral("Ornel Corvane - 127.0.0.1 - ") + log);
    QVERIFY(!view->windowIcon().isNull());
    QVERIFY(view->isVisible());
    QVERIFY(m_console->desktop()->windowList().contains(view));
    QCOMPARE(m_console->desktop()->parentWindow(view), m_window);
    // It shows its log.
    QTRY_VERIFY(view->pager()->isOpen());
    QTRY_VERIFY(view->pager()->isCached(0));
    QVERIFY(view->pager()->line(0).startsWith(QStringLiteral("2024-03-01 08:00:0")));
}

void tst_WndMainLogs::closingTheFrameForgetsTheWindow()
{
    const QPointer<WndLog> view = openSeparateWindow(QStringLiteral("Logs/pop3"));
    QVERIFY(view);
    QSignalSpy closed(view.data(), &WndLog::signalWindowClosed);
    QVERIFY(frameOf(view)->close());
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed.constFirst().at(1).toBool(), true);
    QVERIFY(m_window->getLogWindows().isEmpty());
    QVERIFY(!m_console->desktop()->windowList().contains(view.data()));
    QTRY_VERIFY(view.isNull());
}

void tst_WndMainLogs::closingTheMainWindowClosesItsLogWindows_data()
{
    QTest::addColumn<bool>("loading");
    QTest::newRow("idle") << false;
    QTest::newRow("one of them loading") << true;
}

void tst_WndMainLogs::closingTheMainWindowClosesItsLogWindows()
{
    QFETCH(bool, loading);
    const QPointer<WndLog> first = openSeparateWindow(QStringLiteral("Logs/smtp"));
    QTRY_VERIFY(first && first->pager()->isCached(0));
    if (loading)
        QVERIFY(m_server->delay(QStringLiteral("LogData"), 500, 1));
    const QPointer<WndLog> second = openSeparateWindow(QStringLiteral("Logs/smtp"));
    QVERIFY(first && second && first != second);
    if (loading)
        QTRY_VERIFY(second->isLoading());
    const QPointer<QMdiSubWindow> firstFrame = frameOf(first);
    const QPointer<QMdiSubWindow> secondFrame = frameOf(second);

    QVERIFY(m_window->close());
    QTRY_VERIFY(first.isNull() && second.isNull() && firstFrame.isNull() && secondFrame.isNull());
    const QWidgetList registered = m_console->desktop()->windowList();
    QVERIFY(!registered.contains(first.data()) && !registered.contains(second.data()));
    // The answer that was on its way meets nothing.
    QTest::qWait(600);
}

void tst_WndMainLogs::paneViewThatRefusedIsClosedAtTheNextSwitch()
{
    QVERIFY(m_server->delay(QStringLiteral("LogData"), 400, 1));
    choose(m_window, QStringLiteral("Logs/smtp"));
    const QPointer<WndLog> view = qobject_cast<WndLog*>(m_window->getCurrentPane());
    QVERIFY(view);
    QTRY_VERIFY(view->isLoading());

    choose(m_window, QStringLiteral("Status"));
    QVERIFY(view);
    QVERIFY(view->isHidden());
    QCOMPARE(m_window->getPendingCloseQueue(), QList<QWidget*>{view.data()});

    QTRY_VERIFY(!view->isLoading());
    choose(m_window, QStringLiteral("Logs"));
    QVERIFY(m_window->getPendingCloseQueue().isEmpty());
    QTRY_VERIFY(view.isNull());
}

QTEST_MAIN(tst_WndMainLogs)
#include "tst_wndmainlogs.moc"
