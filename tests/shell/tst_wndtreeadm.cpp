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
#include <QSplitter>
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
    void closeEvent(QCloseEvent* event) override
    {
        ++asked;
        event->setAccepted(asked > m_refusals);
    }

private:
    int m_refusals;
};

QImage backgroundPicture(const QLabel* label)
{
    return label->palette().brush(QPalette::Window).texture().toImage().convertToFormat(
        QImage::Format_RGB32);
}

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

    void registersInTheWorkspace();
    void layoutModes_data();
    void layoutModes();
    void logListShowsStatementsVerbatim();
    void clearLog();
    void resizingGrowsThePageOnly();
    void headerPictures_data();
    void headerPictures();
    void headerCaption();
    void headerWithoutPicture();
    void paneReplacement();
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

void tst_WndTreeAdm::registersInTheWorkspace()
{
    TreeWindow* window = makeWindow(0);
    QCOMPARE(m_desktop->windowList(), QWidgetList{window});
    QVERIFY(window->workspaceFrame());
    QCOMPARE(m_desktop->subWindowList(), QList<QMdiSubWindow*>{window->workspaceFrame()});
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
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
}

void tst_WndTreeAdm::logListShowsStatementsVerbatim()
{
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    QTreeWidget* log = makeWindow(1, conn.get())->getLogList();

    const QString statement = QStringLiteral("select Notice from info where Notice='%s 100%'");
    send(conn.get(), statement);
    QCOMPARE(log->topLevelItemCount(), 1);
    QCOMPARE(log->topLevelItem(0)->text(0), statement);
}

void tst_WndTreeAdm::clearLog()
{
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    TreeWindow* window = makeWindow(1, conn.get());
    send(conn.get(), QStringLiteral("select Version from info"));
    send(conn.get(), QStringLiteral("select ProductName from info"));
    QTreeWidget* log = window->getLogList();
    QCOMPARE(log->topLevelItemCount(), 2);

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

void tst_WndTreeAdm::resizingGrowsThePageOnly()
{
    TreeWindow* window = makeWindow(1);
    window->setTreeWidth(260);
    window->resizeInWorkspace(QSize(700, 600));
    window->show();
    QSplitter* vertical = qobject_cast<QSplitter*>(window->getLogList()->parentWidget());
    QVERIFY(vertical);
    QTRY_COMPARE(vertical->sizes().value(0), 400);
    QTRY_COMPARE(window->getTree()->width(), 260);
    const int logHeight = vertical->sizes().value(1);
    const int rightWidth = window->getRightPane()->width();
    QVERIFY(logHeight > 0);

    // The tree keeps its width and the log its height.
    window->resizeInWorkspace(QSize(900, 700));
    QTRY_COMPARE(window->getRightPane()->width(), rightWidth + 200);
    QCOMPARE(window->getTree()->width(), 260);
    QCOMPARE(vertical->sizes(), QList<int>({500, logHeight}));
}

void tst_WndTreeAdm::headerPictures_data()
{
    QTest::addColumn<QColor>("base");
    QTest::newRow("white") << QColor(Qt::white);
    QTest::newRow("dark") << QColor(0x10, 0x20, 0x30);
}

void tst_WndTreeAdm::headerPictures()
{
    QFETCH(QColor, base);

    TreeWindow* window = makeWindow(0);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Base, base);
    window->setPalette(palette);

    // The pictures' magenta shows in the window's base colour.
    QWidget* first = nullptr;
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), nullptr, &first));
    QList<QLabel*> labels = headerLabels(first);
    QCOMPARE(labels.size(), 3);
    QCOMPARE(backgroundPicture(labels[0]), recoloured(headerleft_xpm, base));
    QCOMPARE(backgroundPicture(labels[1]), recoloured(headertile_xpm, base));
    QCOMPARE(backgroundPicture(labels[2]), recoloured(headerright_xpm, base));

    // Later calls reuse the pictures built first and ignore the one given.
    QWidget* second = nullptr;
    QVERIFY(window->createTop(section_xpm, int(sizeof section_xpm), nullptr, &second));
    QVERIFY(second != first);
    QCOMPARE(backgroundPicture(headerLabels(second)[0]), recoloured(headerleft_xpm, base));
}

void tst_WndTreeAdm::headerCaption()
{
    TreeWindow* window = makeWindow(0);
    window->setTopCaption(QStringLiteral("Nowhere"));
    QVERIFY(!window->getTopCaption());

    QVBoxLayout* layout = nullptr;
    QWidget* first = nullptr;
    QWidget* second = nullptr;
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), &layout, &first));
    QCOMPARE(first->parentWidget(), window->getRightPane());
    QCOMPARE(first->layout(), layout);
    QCOMPARE(headerLabels(first)[1], window->getTopCaption());
    window->setTopCaption(QStringLiteral("Users"));
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), nullptr, &second));
    window->setTopCaption(QStringLiteral("Groups"));
    QCOMPARE(headerLabels(first)[1]->text(), QStringLiteral("Users"));
    QCOMPARE(headerLabels(second)[1]->text(), QStringLiteral("Groups"));
}

void tst_WndTreeAdm::headerWithoutPicture()
{
    TreeWindow* window = makeWindow(0);
    const int children = window->getRightPane()->children().size();
    QWidget* container = nullptr;
    QVERIFY(!window->createTop(nullptr, 0, nullptr, &container));
    QVERIFY(!container);
    QCOMPARE(window->getRightPane()->children().size(), children);
}

void tst_WndTreeAdm::paneReplacement()
{
    TreeWindow* window = makeWindow(0);
    window->show();
    QPointer<QWidget> first = new QWidget(window->getRightPane());
    window->setRightPaneWindow(first, false);
    QCOMPARE(window->getCurrentPane(), first.data());
    auto* rightLayout = qobject_cast<QVBoxLayout*>(window->getRightPane()->layout());
    QCOMPARE(rightLayout->itemAt(0)->widget(), first.data());
    QCOMPARE(rightLayout->itemAt(1)->widget(), window->getButtonBar());
    QVERIFY(first->isVisible());

    // A pane made without the flag is deleted on replacement all the same.
    QPointer<QWidget> second = new QWidget(window->getRightPane());
    window->setRightPaneWindow(second, false);
    flushDeletes();
    QVERIFY(first.isNull());
    QCOMPARE(rightLayout->itemAt(0)->widget(), second.data());
    QVERIFY(window->getPendingCloseQueue().isEmpty());
}

void tst_WndTreeAdm::refusingPaneIsRetried()
{
    TreeWindow* window = makeWindow(0);
    QPointer<StubbornPane> stubborn = new StubbornPane(window->getRightPane(), 2);
    window->setRightPaneWindow(stubborn, false);

    // Asked on the switch, and once more from the queue: both refused.
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

    delete window;
    // The panes go at once, before the connection is given up.
    QVERIFY(queued.isNull());
    QVERIFY(current.isNull());
    QVERIFY(m_desktop->windowList().isEmpty());
    QVERIFY(guard);
    QVERIFY(!guard->m_logview);
    // Told to stop, the connection ends its session and destroys itself.
    QTRY_VERIFY(guard.isNull());
    QTRY_VERIFY(!m_server->sessions().constLast().connected);
}

QTEST_MAIN(tst_WndTreeAdm)
#include "tst_wndtreeadm.moc"
