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

QString pixel(const QImage& image, const QPoint& at)
{
    return QColor(image.pixel(at)).name();
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
    void addWindowAndParents();
    void removeWindow_data();
    void removeWindow();
    void removeWindowTakesFirstOfTwoEntries();
    void closeWindowWithParent();
    void closeWindowWithoutParent();
    void closeWindowLeavesContainersAndRefusals();
    void destroyedWindowsLeaveRegistry();
    void activateWindow_data();
    void activateWindow();
    void activateWindowFocusesOtherWidgets();
    void activeWindowIsCurrentSubWindow();
    void closeDllReachesHostByName();
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
    QCOMPARE(desktop.settings()->folder(), QDir::homePath() + QStringLiteral("/.Ornel"));
    QCOMPARE(desktop.activeWindow(), nullptr);
    QCOMPARE(desktop.background(), desktop.palette().brush(QPalette::Dark));
}

void TestDesktop::addWindowAndParents()
{
    Desktop desktop;
    QSignalSpy added(&desktop, &Desktop::signalWindowAdded);
    QWidget main1, main2, log, unregistered;

    desktop.addWindow(&main1);
    desktop.addWindow(&main2, nullptr);
    desktop.addWindow(&log, &main1);
    desktop.addWindow(&main1, nullptr);
    desktop.addWindow(nullptr, &main1);

    QCOMPARE(added.count(), 4);
    QCOMPARE(desktop.windowList(), QWidgetList({&main1, &main2, &log, &main1}));
    QCOMPARE(desktop.windowHierarchy(), (QHash<QWidget*, QWidget*>{{&log, &main1}}));
    QCOMPARE(desktop.parentWindow(&log), &main1);
    QCOMPARE(desktop.parentWindow(&main2), &main2);
    QCOMPARE(desktop.parentWindow(&unregistered), &unregistered);
}

void TestDesktop::removeWindow_data()
{
    QTest::addColumn<bool>("registered");
    QTest::addColumn<bool>("notify");
    QTest::addColumn<int>("emitted");

    QTest::newRow("registered, notify") << true << true << 1;
    QTest::newRow("registered, silent") << true << false << 0;
    QTest::newRow("unregistered, notify") << false << true << 1;
    QTest::newRow("unregistered, silent") << false << false << 0;
}

void TestDesktop::removeWindow()
{
    QFETCH(bool, registered);
    QFETCH(bool, notify);
    QFETCH(int, emitted);

    Desktop desktop;
    QWidget main, log, other;
    desktop.addWindow(&main, nullptr);
    if (registered)
        desktop.addWindow(&log, &main);
    desktop.addWindow(&other, &main);
    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);

    QCOMPARE(desktop.removeWindow(&log, notify), registered);
    QCOMPARE(removed.count(), emitted);
    QCOMPARE(desktop.windowList(), QWidgetList({&main, &other}));
    QCOMPARE(desktop.windowHierarchy(), (QHash<QWidget*, QWidget*>{{&other, &main}}));
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
}

void TestDesktop::closeWindowWithParent()
{
    Desktop desktop;
    auto* main = new QWidget;
    auto* log = new QWidget;
    desktop.addSubWindow(main);
    QPointer<QMdiSubWindow> logFrame = desktop.addSubWindow(log);
    desktop.addWindow(main, nullptr);
    desktop.addWindow(log, main);
    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);

    QVERIFY(desktop.closeWindow(log));
    processDeferredDeletes();

    // The frame goes, and the window with it.
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

void TestDesktop::closeWindowLeavesContainersAndRefusals()
{
    Desktop desktop;
    QWidget container;
    QPointer<QWidget> detached = new QWidget(&container);
    desktop.addWindow(detached, &container);
    QPointer<QWidget> refusing = new RefusingWindow;
    desktop.addSubWindow(refusing);
    desktop.addWindow(refusing, nullptr);

    QVERIFY(desktop.closeWindow(detached));
    QVERIFY(desktop.closeWindow(refusing));
    processDeferredDeletes();

    // The window goes; the widget that merely contains it is not the workspace's to close.
    QVERIFY(detached.isNull());
    // A window that refuses to close stays, and stays listed.
    QVERIFY(!refusing.isNull());
    QCOMPARE(desktop.windowList(), QWidgetList({refusing.data()}));
}

void TestDesktop::destroyedWindowsLeaveRegistry()
{
    Desktop desktop;
    QWidget kept;
    auto* doomed = new QWidget;
    auto* parent = new QWidget;
    desktop.addWindow(doomed, nullptr);
    desktop.addWindow(&kept, parent);
    desktop.addWindow(doomed, &kept);
    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);

    delete doomed;
    QCOMPARE(desktop.windowList(), QWidgetList({&kept}));
    QCOMPARE(removed.count(), 1);
    QVERIFY(!desktop.activateWindow(doomed));

    delete parent;
    QVERIFY(desktop.windowHierarchy().isEmpty());
    QCOMPARE(desktop.parentWindow(&kept), &kept);
}

void TestDesktop::activateWindow_data()
{
    QTest::addColumn<bool>("registered");

    QTest::newRow("registered main window") << true;
    QTest::newRow("unregistered main window") << false;
}

void TestDesktop::activateWindow()
{
    QFETCH(bool, registered);

    Desktop desktop;
    FakeMainWindow main;
    FakeMainWindow other;
    desktop.addWindow(&other, nullptr);
    if (registered)
        desktop.addWindow(&main, nullptr);

    QCOMPARE(desktop.activateWindow(&main), registered);
    QCOMPARE(main.activations, registered ? 1 : 0);
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
    desktop.addSubWindow(second)->show();
    firstFrame->show();

    desktop.setActiveSubWindow(firstFrame);
    QCOMPARE(desktop.activeWindow(), first);
}

void TestDesktop::closeDllReachesHostByName()
{
    // The host connects by name and unloads the module later, from its event loop.
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
    QPointer<QWidget> inHolder = new QWidget(&holder);
    QPointer<QWidget> main = new FakeMainWindow(desktop);
    desktop->addSubWindow(main);

    desktop->addWindow(main, nullptr);
    desktop->addWindow(topLevel, main);
    desktop->addWindow(inHolder, nullptr);

    delete desktop;

    QVERIFY(!topLevelAlive.isNull());
    QVERIFY(!inHolder.isNull());
    // Framed in the workspace, so owned by it; it unregistered itself on the way out.
    QVERIFY(main.isNull());
    QCOMPARE(removed.count(), 1);

    // The registry no longer watches what survived it.
    delete topLevel;
    delete inHolder.data();
}

void TestDesktop::logoPlacement_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("topLeft");

    QTest::newRow("800 x 600") << QSize(800, 600) << QPoint(600, 530);
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
    // the logo's grey corners, which must show the workspace's background, and a point
    // just outside.
    const struct { QPoint at; QColor colour; } expected[] = {
        {QPoint(27, 8), QColor(Qt::black)},   {QPoint(27, 28), QColor(0xcc, 0xcc, 0xcc)},
        {QPoint(59, 17), QColor(Qt::black)},  {QPoint(0, 0), background},
        {QPoint(187, 56), background},        {QPoint(-1, -1), background},
    };
    for (const auto& point : expected) {
        const QPoint at = topLeft + point.at;
        if (image.rect().contains(at))
            QCOMPARE(pixel(image, at), point.colour.name());
    }
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
    desktop.addSubWindow(window, Qt::FramelessWindowHint)->setGeometry(550, 500, 250, 100);
    desktop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&desktop));

    const QImage image = desktop.grab().toImage();
    QCOMPARE(pixel(image, QPoint(627, 538)), QStringLiteral("#ffffff"));
    QCOMPARE(pixel(image, QPoint(659, 547)), QStringLiteral("#ffffff"));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
