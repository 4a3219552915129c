#include "desktop.h"
#include "desktopwindow.h"
#include "settingsstore.h"

#include <QDir>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Stands in for the module's main window, which unregisters itself when it is destroyed.
class FakeMainWindow : public QWidget, public DesktopWindow
{
public:
    explicit FakeMainWindow(Desktop* desktop = nullptr) : m_desktop(desktop) {}
    ~FakeMainWindow() override
    {
        if (m_desktop)
            m_desktop->removeWindow(this, true);
    }
    void setWindowActive() override { ++activations; }

    int activations = 0;

private:
    QPointer<Desktop> m_desktop;
};

class RefusingWindow : public QWidget
{
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Colours compared by name ("#rrggbb"), which also makes a failure readable.
QString pixel(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y)).name();
}

} // namespace

class DllReceiver : public QObject
{
    Q_OBJECT
public:
    QList<DLLHANDLE> handles;
public slots:
    void closeDll(DLLHANDLE handle) { handles.append(handle); }
};

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void construction();
    void addWindowRegistersInOrder();
    void addWindowIgnoresNull();
    void parentWindow_data();
    void parentWindow();
    void removeWindow_data();
    void removeWindow();
    void removeWindowTakesFirstOfTwoEntries();
    void closeWindowChildWithParent();
    void closeWindowWithoutParent();
    void closeWindowOutsideWorkspace();
    void closeWindowRefused();
    void destroyedWindowLeavesRegistry();
    void destroyedParentLeavesHierarchy();
    void activateWindow_data();
    void activateWindow();
    void activateWindowFocusesOtherWidgets();
    void activeWindowIsCurrentSubWindow();
    void closeDllEmitsHandle();
    void closeDllQueuedByName();
    void destroyingWorkspaceDeletesOnlyItsOwn();
    void logoPlacement_data();
    void logoPlacement();
    void logoIsBehindWindows();
};

void TestDesktop::construction()
{
    Desktop desktop;
    QCOMPARE(desktop.objectName(), QStringLiteral("desktop"));
    QVERIFY(desktop.windowList().isEmpty());
    QVERIFY(desktop.windowHierarchy().isEmpty());
    QVERIFY(desktop.settings() != nullptr);
    QCOMPARE(desktop.settings(), desktop.settings());
    QCOMPARE(desktop.settings()->folder(), QDir::homePath() + QStringLiteral("/.Ornel"));
    QCOMPARE(desktop.activeWindow(), nullptr);
    QCOMPARE(desktop.background(), desktop.palette().brush(QPalette::Dark));
}

void TestDesktop::addWindowRegistersInOrder()
{
    Desktop desktop;
    QSignalSpy added(&desktop, &Desktop::signalWindowAdded);
    QWidget main1, main2, log;

    desktop.addWindow(&main1);
    desktop.addWindow(&main2, nullptr);
    desktop.addWindow(&log, &main1);
    desktop.addWindow(&main1, nullptr);

    QCOMPARE(added.count(), 4);
    QCOMPARE(desktop.windowList(), QWidgetList({&main1, &main2, &log, &main1}));
    QCOMPARE(desktop.windowHierarchy(), (QHash<QWidget*, QWidget*>{{&log, &main1}}));
}

void TestDesktop::addWindowIgnoresNull()
{
    Desktop desktop;
    QSignalSpy added(&desktop, &Desktop::signalWindowAdded);
    QWidget parent;
    desktop.addWindow(nullptr, &parent);
    QCOMPARE(added.count(), 0);
    QVERIFY(desktop.windowList().isEmpty());
    QVERIFY(desktop.windowHierarchy().isEmpty());
}

void TestDesktop::parentWindow_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("expected");

    // 0 the main window, 1 its log window, 2 an unregistered window.
    QTest::newRow("registered with a parent") << 1 << 0;
    QTest::newRow("registered without a parent") << 0 << 0;
    QTest::newRow("unregistered") << 2 << 2;
}

void TestDesktop::parentWindow()
{
    QFETCH(int, which);
    QFETCH(int, expected);

    Desktop desktop;
    QWidget windows[3];
    desktop.addWindow(&windows[0], nullptr);
    desktop.addWindow(&windows[1], &windows[0]);
    QCOMPARE(desktop.parentWindow(&windows[which]), &windows[expected]);
}

void TestDesktop::removeWindow_data()
{
    QTest::addColumn<bool>("registered");
    QTest::addColumn<bool>("notify");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("emitted");

    QTest::newRow("registered, notify") << true << true << true << 1;
    QTest::newRow("registered, silent") << true << false << true << 0;
    QTest::newRow("unregistered, notify") << false << true << false << 1;
    QTest::newRow("unregistered, silent") << false << false << false << 0;
}

void TestDesktop::removeWindow()
{
    QFETCH(bool, registered);
    QFETCH(bool, notify);
    QFETCH(bool, result);
    QFETCH(int, emitted);

    Desktop desktop;
    QWidget main, log, other;
    desktop.addWindow(&main, nullptr);
    if (registered)
        desktop.addWindow(&log, &main);
    desktop.addWindow(&other, &main);
    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);

    QCOMPARE(desktop.removeWindow(&log, notify), result);
    QCOMPARE(removed.count(), emitted);
    QCOMPARE(desktop.windowList(), QWidgetList({&main, &other}));
    QCOMPARE(desktop.windowHierarchy(), (QHash<QWidget*, QWidget*>{{&other, &main}}));
    QCOMPARE(desktop.parentWindow(&log), &log);
}

void TestDesktop::removeWindowTakesFirstOfTwoEntries()
{
    Desktop desktop;
    QWidget a, b;
    desktop.addWindow(&a);
    desktop.addWindow(&b);
    desktop.addWindow(&a);
    QVERIFY(desktop.removeWindow(&a, false));
    QCOMPARE(desktop.windowList(), QWidgetList({&b, &a}));
    QVERIFY(desktop.removeWindow(&a, false));
    QCOMPARE(desktop.windowList(), QWidgetList({&b}));
    QVERIFY(!desktop.removeWindow(&a, false));
}

void TestDesktop::closeWindowChildWithParent()
{
    Desktop desktop;
    auto* main = new QWidget;
    auto* log = new QWidget;
    desktop.addSubWindow(main);
    QPointer<QMdiSubWindow> logFrame = desktop.addSubWindow(log);
    QPointer<QWidget> logAlive = log;
    desktop.addWindow(main, nullptr);
    desktop.addWindow(log, main);
    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);

    QVERIFY(desktop.closeWindow(log));
    processDeferredDeletes();

    QVERIFY(logAlive.isNull());
    QVERIFY(logFrame.isNull());
    QCOMPARE(removed.count(), 1);
    QCOMPARE(desktop.windowList(), QWidgetList({main}));
    QVERIFY(desktop.windowHierarchy().isEmpty());
    QCOMPARE(desktop.subWindowList().size(), 1);
}

void TestDesktop::closeWindowWithoutParent()
{
    Desktop desktop;
    auto* main = new FakeMainWindow(&desktop);
    QPointer<QMdiSubWindow> frame = desktop.addSubWindow(main);
    desktop.addWindow(main, nullptr);
    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);

    QVERIFY(desktop.closeWindow(main));
    // Still listed until the window is gone; the main window then unregisters itself.
    QCOMPARE(desktop.windowList(), QWidgetList({main}));
    processDeferredDeletes();

    QVERIFY(frame.isNull());
    QVERIFY(desktop.windowList().isEmpty());
    QCOMPARE(removed.count(), 1);
}

void TestDesktop::closeWindowOutsideWorkspace()
{
    Desktop desktop;
    QWidget container;
    auto* detached = new QWidget(&container);
    QPointer<QWidget> detachedAlive = detached;
    desktop.addWindow(detached, &container);

    QVERIFY(desktop.closeWindow(detached));
    processDeferredDeletes();

    // The window goes; the widget that merely contains it is not the workspace's to close.
    QVERIFY(detachedAlive.isNull());
    QVERIFY(desktop.windowList().isEmpty());
}

void TestDesktop::closeWindowRefused()
{
    Desktop desktop;
    auto* window = new RefusingWindow;
    QPointer<QWidget> alive = window;
    desktop.addSubWindow(window);
    desktop.addWindow(window, nullptr);

    QVERIFY(desktop.closeWindow(window));
    processDeferredDeletes();
    QVERIFY(!alive.isNull());
    QCOMPARE(desktop.windowList(), QWidgetList({window}));
}

void TestDesktop::destroyedWindowLeavesRegistry()
{
    Desktop desktop;
    QWidget kept;
    auto* doomed = new QWidget;
    desktop.addWindow(doomed, nullptr);
    desktop.addWindow(&kept, nullptr);
    desktop.addWindow(doomed, &kept);
    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);

    delete doomed;

    QCOMPARE(desktop.windowList(), QWidgetList({&kept}));
    QVERIFY(desktop.windowHierarchy().isEmpty());
    QCOMPARE(removed.count(), 1);
    QVERIFY(!desktop.activateWindow(doomed));
}

void TestDesktop::destroyedParentLeavesHierarchy()
{
    Desktop desktop;
    QWidget log;
    auto* main = new QWidget;
    desktop.addWindow(main, nullptr);
    desktop.addWindow(&log, main);

    delete main;

    QCOMPARE(desktop.windowList(), QWidgetList({&log}));
    QCOMPARE(desktop.parentWindow(&log), &log);
}

void TestDesktop::activateWindow_data()
{
    QTest::addColumn<bool>("registered");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("activations");

    QTest::newRow("registered main window") << true << true << 1;
    QTest::newRow("unregistered main window") << false << false << 0;
}

void TestDesktop::activateWindow()
{
    QFETCH(bool, registered);
    QFETCH(bool, result);
    QFETCH(int, activations);

    Desktop desktop;
    FakeMainWindow main;
    FakeMainWindow other;
    desktop.addWindow(&other, nullptr);
    if (registered)
        desktop.addWindow(&main, nullptr);

    QCOMPARE(desktop.activateWindow(&main), result);
    QCOMPARE(main.activations, activations);
    QCOMPARE(other.activations, 0);
}

void TestDesktop::activateWindowFocusesOtherWidgets()
{
    Desktop desktop;
    auto* window = new QWidget;
    window->setFocusPolicy(Qt::StrongFocus);
    desktop.addSubWindow(window);
    desktop.addWindow(window, nullptr);
    desktop.show();
    QVERIFY(QTest::qWaitForWindowActive(&desktop));
    desktop.setFocus();

    QVERIFY(desktop.activateWindow(window));
    QTRY_COMPARE(QApplication::focusWidget(), window);
}

void TestDesktop::activeWindowIsCurrentSubWindow()
{
    Desktop desktop;
    auto* first = new QWidget;
    auto* second = new QWidget;
    QMdiSubWindow* firstFrame = desktop.addSubWindow(first);
    QMdiSubWindow* secondFrame = desktop.addSubWindow(second);
    firstFrame->show();
    secondFrame->show();

    desktop.setActiveSubWindow(secondFrame);
    QCOMPARE(desktop.activeWindow(), second);
    desktop.setActiveSubWindow(firstFrame);
    QCOMPARE(desktop.activeWindow(), first);
}

void TestDesktop::closeDllEmitsHandle()
{
    Desktop desktop;
    QSignalSpy closeDll(&desktop, &Desktop::signalCloseDll);
    int token = 0;
    desktop.close_dll(&token);
    QCOMPARE(closeDll.count(), 1);
    QCOMPARE(closeDll.at(0).at(0).value<DLLHANDLE>(), static_cast<DLLHANDLE>(&token));
}

void TestDesktop::closeDllQueuedByName()
{
    Desktop desktop;
    DllReceiver receiver;
    QVERIFY(connect(&desktop, SIGNAL(signalCloseDll(DLLHANDLE)), &receiver,
                    SLOT(closeDll(DLLHANDLE)), Qt::QueuedConnection));
    int token = 0;
    desktop.close_dll(&token);
    QVERIFY(receiver.handles.isEmpty());
    QTRY_COMPARE(receiver.handles, QList<DLLHANDLE>({&token}));
}

void TestDesktop::destroyingWorkspaceDeletesOnlyItsOwn()
{
    auto* desktop = new Desktop;
    QSignalSpy removed(desktop, &Desktop::signalWindowRemoved);
    auto* topLevel = new QWidget;
    QPointer<QWidget> topLevelAlive = topLevel;
    QWidget holder;
    auto* inHolder = new QWidget(&holder);
    QPointer<QWidget> inHolderAlive = inHolder;
    auto* main = new FakeMainWindow(desktop);
    QPointer<QWidget> mainAlive = main;
    desktop->addSubWindow(main);

    desktop->addWindow(main, nullptr);
    desktop->addWindow(topLevel, main);
    desktop->addWindow(inHolder, nullptr);

    delete desktop;

    QVERIFY(!topLevelAlive.isNull());
    QVERIFY(!inHolderAlive.isNull());
    // Framed in the workspace, so owned by it; it unregistered itself on the way out.
    QVERIFY(mainAlive.isNull());
    QCOMPARE(removed.count(), 1);

    // The registry no longer watches what survived it.
    delete topLevel;
    delete inHolder;
}

void TestDesktop::logoPlacement_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("topLeft");

    QTest::newRow("800 x 600") << QSize(800, 600) << QPoint(600, 530);
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QPoint(824, 698);
    QTest::newRow("smaller than the logo") << QSize(150, 50) << QPoint(-50, -20);
}

void TestDesktop::logoPlacement()
{
    QFETCH(QSize, size);
    QFETCH(QPoint, topLeft);

    Desktop desktop;
    desktop.resize(size);
    desktop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&desktop));
    QCOMPARE(desktop.viewport()->size(), size);
    QCOMPARE(desktop.logoRect(), QRect(topLeft, QSize(188, 57)));

    const QImage image = desktop.viewport()->grab().toImage();
    const QColor background = desktop.background().color();
    // A point of the mark's black ring, one of its light inside, one of the black letters,
    // and the logo's grey corner, which must show the workspace's background.
    const struct { QPoint at; QColor colour; } expected[] = {
        {QPoint(27, 8), QColor(Qt::black)},
        {QPoint(27, 28), QColor(0xcc, 0xcc, 0xcc)},
        {QPoint(59, 17), QColor(Qt::black)},
        {QPoint(0, 0), background},
        {QPoint(187, 56), background},
    };
    for (const auto& point : expected) {
        const QPoint at = topLeft + point.at;
        if (!image.rect().contains(at))
            continue;
        QCOMPARE(pixel(image, at.x(), at.y()), point.colour.name());
    }
    if (image.rect().contains(topLeft - QPoint(1, 1)))
        QCOMPARE(pixel(image, topLeft.x() - 1, topLeft.y() - 1), background.name());
}

void TestDesktop::logoIsBehindWindows()
{
    Desktop desktop;
    desktop.resize(800, 600);
    auto* window = new QWidget;
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
    QMdiSubWindow* frame = desktop.addSubWindow(window, Qt::FramelessWindowHint);
    frame->setGeometry(550, 500, 250, 100);
    desktop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&desktop));

    const QImage image = desktop.grab().toImage();
    QCOMPARE(pixel(image, 627, 538), QStringLiteral("#ffffff"));
    QCOMPARE(pixel(image, 659, 547), QStringLiteral("#ffffff"));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
