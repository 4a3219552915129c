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

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void registry();
    void closeWindow();
    void destroyedWindowsLeaveRegistry();
    void activateWindow();
    void destroyingWorkspaceDeletesOnlyItsOwn();
    void logoPlacement_data();
    void logoPlacement();
};

void TestDesktop::registry()
{
    Desktop desktop;
    QCOMPARE(desktop.settings()->folder(), QDir::homePath() + QStringLiteral("/.Ornel"));
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

    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);
    // Removing a window that is not listed says so, and is announced all the same.
    QVERIFY(!desktop.removeWindow(&unregistered, true));
    QCOMPARE(removed.count(), 1);
    QVERIFY(desktop.removeWindow(&log, false));
    QCOMPARE(removed.count(), 1);
    QVERIFY(desktop.windowHierarchy().isEmpty());
    // A window listed twice loses its first entry only.
    QVERIFY(desktop.removeWindow(&main1, false));
    QCOMPARE(desktop.windowList(), QWidgetList({&main2, &main1}));
}

void TestDesktop::closeWindow()
{
    Desktop desktop;
    auto* main = new FakeMainWindow(&desktop);
    auto* log = new QWidget;
    QWidget container;
    QPointer<QWidget> detached = new QWidget(&container);
    QPointer<QWidget> refusing = new RefusingWindow;
    QPointer<QMdiSubWindow> mainFrame = desktop.addSubWindow(main);
    QPointer<QMdiSubWindow> logFrame = desktop.addSubWindow(log);
    desktop.addSubWindow(refusing);
    desktop.addWindow(main, nullptr);
    desktop.addWindow(log, main);
    desktop.addWindow(detached, &container);
    desktop.addWindow(refusing, nullptr);
    QSignalSpy removed(&desktop, &Desktop::signalWindowRemoved);

    // A window with a parent is unregistered at once; its frame goes, and it with it. The
    // widget that merely contains a window is not the workspace's to close.
    QVERIFY(desktop.closeWindow(log));
    QVERIFY(desktop.closeWindow(detached));
    QVERIFY(desktop.closeWindow(refusing));
    QCOMPARE(desktop.windowList(), QWidgetList({main, refusing.data()}));
    QVERIFY(desktop.windowHierarchy().isEmpty());
    processDeferredDeletes();
    QVERIFY(logFrame.isNull());
    QVERIFY(detached.isNull());
    QCOMPARE(removed.count(), 2);
    // A window that refuses to close stays, and stays listed.
    QVERIFY(!refusing.isNull());

    // A main window stays listed until it is gone, then unregisters itself.
    QVERIFY(desktop.closeWindow(main));
    QCOMPARE(desktop.windowList(), QWidgetList({main, refusing.data()}));
    processDeferredDeletes();
    QVERIFY(mainFrame.isNull());
    QCOMPARE(desktop.windowList(), QWidgetList({refusing.data()}));
    QCOMPARE(removed.count(), 3);
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

void TestDesktop::activateWindow()
{
    Desktop desktop;
    FakeMainWindow main;
    FakeMainWindow unregistered;
    auto* plain = new QWidget;
    plain->setFocusPolicy(Qt::StrongFocus);
    desktop.addSubWindow(plain);
    desktop.addWindow(&main, nullptr);
    desktop.addWindow(plain, nullptr);
    desktop.show();
    QVERIFY(QTest::qWaitForWindowActive(&desktop));
    desktop.setFocus();

    QVERIFY(!desktop.activateWindow(&unregistered));
    QVERIFY(desktop.activateWindow(&main));
    QCOMPARE(main.activations, 1);
    QCOMPARE(unregistered.activations, 0);
    // A window that is not the module's main window gets the focus.
    QVERIFY(desktop.activateWindow(plain));
    QTRY_COMPARE(QApplication::focusWidget(), plain);
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
    // A point of the mark's black ring, one of its light inside, and the logo's grey
    // corners, which must show the workspace's background.
    const struct { QPoint at; QColor colour; } expected[] = {
        {QPoint(27, 8), QColor(Qt::black)}, {QPoint(27, 28), QColor(0xcc, 0xcc, 0xcc)},
        {QPoint(0, 0), background},         {QPoint(187, 56), background}};
    for (const auto& point : expected) {
        const QPoint at = topLeft + point.at;
        if (image.rect().contains(at))
            QCOMPARE(QColor(image.pixel(at)).name(), point.colour.name());
    }
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
