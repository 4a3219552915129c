// The tree window base: its registration, the request log of layout mode 1, the header row
// of a page container, the replacement of the right pane and the order of destruction.

#include "dbreq.h"
#include "desktop.h"
#include "standinconnection.h"
#include "wndtreeadm.h"

#include "images/headerleft.xpm"
#include "images/headerright.xpm"
#include "images/headertile.xpm"
#include "images/section.xpm"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace StandIn;

namespace {

class TreeWindow : public WndTreeAdm
{
public:
    using WndTreeAdm::WndTreeAdm;
    bool can_close() override { return true; }
};

// A pane that refuses to close the first `refusals` times it is asked.
class StubbornPane : public QWidget
{
public:
    StubbornPane(QWidget* parent, int refusals) : QWidget(parent), m_refusals(refusals) {}
    int asked = 0;

protected:
    void closeEvent(QCloseEvent* event) override { event->setAccepted(++asked > m_refusals); }

private:
    int m_refusals;
};

// The picture as the header should show it: every magenta pixel in the base colour.
QImage recoloured(const char* const* xpm, const QColor& base)
{
    QImage image = QPixmap(xpm).toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) == QColor(Qt::magenta))
                image.setPixel(x, y, base.rgb());
        }
    }
    return image;
}

// The left picture, the caption and the right picture of a container's header row.
QList<QLabel*> headerLabels(QWidget* container)
{
    QLayout* row = container->layout()->itemAt(0)->widget()->layout();
    QList<QLabel*> labels;
    for (int i = 0; i < row->count(); ++i)
        labels.append(qobject_cast<QLabel*>(row->itemAt(i)->widget()));
    return labels;
}

QImage backgroundPicture(const QLabel* label)
{
    return label->palette().brush(QPalette::Window).texture().toImage().convertToFormat(
        QImage::Format_RGB32);
}

void send(DBConn* conn, const QString& statement)
{
    DBReq req(statement, false);
    conn->insert(&req);
    req.wait(false, nullptr);
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class tst_WndTreeAdm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutModes_data();
    void layoutModes();
    void logListShowsStatementsVerbatimUntilCleared();
    void header();
    void headerWithoutPicture();
    void refusingPaneIsRetried();
    void destructionEndsEverything();

private:
    TreeWindow* makeWindow(int mode, DBConn* conn = nullptr);

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<Desktop> m_desktop;
    QPointer<TreeWindow> m_window;
};

void tst_WndTreeAdm::initTestCase()
{
    m_server = startStandIn();
}

void tst_WndTreeAdm::init()
{
    m_desktop = std::make_unique<Desktop>();
    m_desktop->resize(1000, 700);
    m_desktop->show();
}

void tst_WndTreeAdm::cleanup()
{
    delete m_window.data();
    m_desktop.reset();
    flushDeletes();
}

TreeWindow* tst_WndTreeAdm::makeWindow(int mode, DBConn* conn)
{
    m_window = new TreeWindow(conn, mode, m_desktop.get());
    return m_window;
}

void tst_WndTreeAdm::layoutModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("logged");
    QTest::newRow("0: tree and page only") << 0 << false;
    QTest::newRow("1: with the request log") << 1 << true;
    QTest::newRow("2: any other mode too") << 2 << true;
}

void tst_WndTreeAdm::layoutModes()
{
    QFETCH(int, mode);
    QFETCH(bool, logged);

    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    TreeWindow* window = makeWindow(mode, conn.get());
    QCOMPARE(window->getLogList() != nullptr, logged);
    QCOMPARE(conn->m_logview.data(), window->getLogList());
    // Registered in the workspace, in a frame of its own.
    QCOMPARE(m_desktop->windowList(), QWidgetList{window});
    QVERIFY(window->workspaceFrame());
    QCOMPARE(m_desktop->subWindowList(), QList<QMdiSubWindow*>{window->workspaceFrame()});
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
}

void tst_WndTreeAdm::logListShowsStatementsVerbatimUntilCleared()
{
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    TreeWindow* window = makeWindow(1, conn.get());
    QTreeWidget* log = window->getLogList();
    const QString statement = QStringLiteral("select Notice from info where Notice='%s 100%'");
    send(conn.get(), statement);
    send(conn.get(), QStringLiteral("select ProductName from info"));
    QCOMPARE(log->topLevelItemCount(), 2);
    QCOMPARE(log->topLevelItem(0)->text(0), statement);

    // The list's context menu offers exactly one entry.
    auto* menu = window->findChild<QMenu*>();
    QVERIFY(menu);
    window->slotButtonPressed(log->topLevelItem(0), log->mapToGlobal(QPoint(5, 5)), 0);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Clear log"));
    menu->actions().at(0)->trigger();
    menu->hide();
    QCOMPARE(log->topLevelItemCount(), 0);

    // Later statements are listed again.
    send(conn.get(), QStringLiteral("select Version from info"));
    QCOMPARE(log->topLevelItemCount(), 1);
}

void tst_WndTreeAdm::header()
{
    const QColor base(0x10, 0x20, 0x30);
    TreeWindow* window = makeWindow(0);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Base, base);
    window->setPalette(palette);
    // Without a header row there is no caption to set.
    window->setTopCaption(QStringLiteral("Nowhere"));
    QVERIFY(!window->getTopCaption());

    // The pictures' magenta shows in the window's base colour.
    QVBoxLayout* layout = nullptr;
    QWidget* first = nullptr;
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), &layout, &first));
    QCOMPARE(first->parentWidget(), window->getRightPane());
    QCOMPARE(first->layout(), layout);
    const QList<QLabel*> labels = headerLabels(first);
    QCOMPARE(labels.size(), 3);
    QCOMPARE(backgroundPicture(labels[0]), recoloured(headerleft_xpm, base));
    QCOMPARE(backgroundPicture(labels[1]), recoloured(headertile_xpm, base));
    QCOMPARE(backgroundPicture(labels[2]), recoloured(headerright_xpm, base));
    QCOMPARE(labels[1], window->getTopCaption());
    window->setTopCaption(QStringLiteral("Users"));

    // Later calls reuse the pictures built first and ignore the one given; the caption
    // set is the newest row's.
    QWidget* second = nullptr;
    QVERIFY(window->createTop(section_xpm, int(sizeof section_xpm), nullptr, &second));
    QVERIFY(second != first);
    QCOMPARE(backgroundPicture(headerLabels(second)[0]), recoloured(headerleft_xpm, base));
    window->setTopCaption(QStringLiteral("Groups"));
    QCOMPARE(labels[1]->text(), QStringLiteral("Users"));
    QCOMPARE(headerLabels(second)[1]->text(), QStringLiteral("Groups"));
}

void tst_WndTreeAdm::headerWithoutPicture()
{
    TreeWindow* window = makeWindow(0);
    const int children = window->getRightPane()->children().size();
    QWidget* container = nullptr;
    QVERIFY(!window->createTop(nullptr, int(sizeof headerleft_xpm), nullptr, &container));
    QVERIFY(!container);
    QCOMPARE(window->getRightPane()->children().size(), children);
}

void tst_WndTreeAdm::refusingPaneIsRetried()
{
    TreeWindow* window = makeWindow(0);
    QPointer<StubbornPane> stubborn = new StubbornPane(window->getRightPane(), 2);
    window->setRightPaneWindow(stubborn, false);

    // Asked on the switch, and once more from the queue: both refused. The plain pane that
    // replaced it goes on the next switch, though it was made without delete-on-close.
    QPointer<QWidget> second = new QWidget(window->getRightPane());
    window->setRightPaneWindow(second, false);
    QCOMPARE(stubborn->asked, 2);
    QCOMPARE(window->getPendingCloseQueue(), QList<QWidget*>{stubborn.data()});
    flushDeletes();
    QVERIFY(stubborn);

    // The next switch asks again, and this time it goes.
    QPointer<QWidget> third = new QWidget(window->getRightPane());
    window->setRightPaneWindow(third, false);
    QCOMPARE(stubborn->asked, 3);
    QVERIFY(window->getPendingCloseQueue().isEmpty());
    flushDeletes();
    QVERIFY(stubborn.isNull());
    QVERIFY(second.isNull());
    QCOMPARE(window->getCurrentPane(), third.data());
}

void tst_WndTreeAdm::destructionEndsEverything()
{
    auto* conn = new DBConn("127.0.0.1", QByteArray::number(m_server->port()).constData(),
                            "admin", "admin", 0);
    QPointer<DBConn> guard(conn);
    QVERIFY(conn->connwait(false, nullptr));
    TreeWindow* window = makeWindow(1, conn);
    QPointer<StubbornPane> queued = new StubbornPane(window->getRightPane(), 100);
    window->setRightPaneWindow(queued, false);
    QPointer<QWidget> current = new QWidget(window->getRightPane());
    window->setRightPaneWindow(current, false);
    QCOMPARE(window->getPendingCloseQueue().size(), 1);
    bool connectionHeldWhilePaneWent = false;
    connect(current, &QObject::destroyed, this,
            [&] { connectionHeldWhilePaneWent = guard && guard->m_logview; });

    delete window;
    // The panes go at once, before the connection is given up.
    QVERIFY(queued.isNull());
    QVERIFY(current.isNull());
    QVERIFY(connectionHeldWhilePaneWent);
    QVERIFY(m_desktop->windowList().isEmpty());
    QVERIFY(guard);
    QVERIFY(!guard->m_logview);
    // Told to stop, the connection ends its session and destroys itself.
    QTRY_VERIFY(guard.isNull());
    QTRY_VERIFY(!m_server->sessions().constLast().connected);
}

QTEST_MAIN(tst_WndTreeAdm)
#include "tst_wndtreeadm.moc"
