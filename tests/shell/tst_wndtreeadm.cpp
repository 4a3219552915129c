// The tree window base: its registration, its two layouts, the request log, the header row
// of a page container and the replacement of the right pane.

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
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <iterator>
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
        if (asked <= m_refusals)
            event->ignore();
        else
            event->accept();
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

QList<QLabel*> headerLabels(QWidget* container)
{
    QWidget* header = container->layout()->itemAt(0)->widget();
    QList<QLabel*> labels;
    for (int i = 0; i < header->layout()->count(); ++i)
        labels.append(qobject_cast<QLabel*>(header->layout()->itemAt(i)->widget()));
    return labels;
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
    void clearLogEmptiesTheList();
    void logSplitGivesTheUpperPart400();
    void tree();
    void treeWidthKeptWhenWidening();
    void createTopPictures_data();
    void createTopPictures();
    void createTopRow();
    void laterCreateTopReusesThePictures();
    void createTopWithoutPicture();
    void topCaption();
    void paneReplacement();
    void refusingPaneIsRetried();
    void bar_data();
    void bar();
    void activation();
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
    QMdiSubWindow* frame = window->workspaceFrame();
    QVERIFY(frame);
    QCOMPARE(m_desktop->subWindowList(), QList<QMdiSubWindow*>{frame});
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(window->getDesktop(), m_desktop.get());
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
    QCOMPARE(window->getMode(), mode);
    QCOMPARE(window->getLogList() != nullptr, logged);
    QCOMPARE(conn->m_logview.data(), window->getLogList());
    QCOMPARE(window->findChildren<QMenu*>().size(), logged ? 1 : 0);

    DBReq req(QStringLiteral("select ProductName from info"), false);
    conn->insert(&req);
    req.wait(false, nullptr);
    QCOMPARE(req.m_status, 0);
    if (logged) {
        QTreeWidget* log = window->getLogList();
        QVERIFY(log->isHeaderHidden());
        QCOMPARE(log->columnCount(), 1);
        QVERIFY(!log->isSortingEnabled());
        QCOMPARE(log->topLevelItemCount(), 1);
        QCOMPARE(log->topLevelItem(0)->text(0), QStringLiteral("select ProductName from info"));
    }
}

void tst_WndTreeAdm::logListShowsStatementsVerbatim()
{
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    TreeWindow* window = makeWindow(1, conn.get());

    const QString statement = QStringLiteral("select Notice from info where Notice='%s 100%'");
    DBReq req(statement, false);
    conn->insert(&req);
    req.wait(false, nullptr);
    QTreeWidget* log = window->getLogList();
    QCOMPARE(log->topLevelItemCount(), 1);
    QCOMPARE(log->topLevelItem(0)->text(0), statement);
}

void tst_WndTreeAdm::clearLogEmptiesTheList()
{
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    TreeWindow* window = makeWindow(1, conn.get());
    for (const char* text : {"select Version from info", "select ProductName from info"}) {
        DBReq req(QString::fromLatin1(text), false);
        conn->insert(&req);
        req.wait(false, nullptr);
    }
    QTreeWidget* log = window->getLogList();
    QCOMPARE(log->topLevelItemCount(), 2);
    QCOMPARE(log->contextMenuPolicy(), Qt::CustomContextMenu);

    // The list's context menu offers exactly one entry.
    auto* menu = window->findChild<QMenu*>();
    QVERIFY(menu);
    window->slotButtonPressed(log->topLevelItem(0), log->mapToGlobal(QPoint(5, 5)), 0);
    QVERIFY(menu->isVisible());
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Clear log"));
    actions.at(0)->trigger();
    menu->hide();
    QCOMPARE(log->topLevelItemCount(), 0);

    // Later statements are listed again.
    DBReq req(QStringLiteral("select Version from info"), false);
    conn->insert(&req);
    req.wait(false, nullptr);
    QCOMPARE(log->topLevelItemCount(), 1);
}

void tst_WndTreeAdm::logSplitGivesTheUpperPart400()
{
    TreeWindow* window = makeWindow(1);
    window->resizeInWorkspace(QSize(800, 600));
    window->show();
    QTRY_VERIFY(window->isVisible());
    QSplitter* vertical = nullptr;
    for (QSplitter* splitter : window->findChildren<QSplitter*>()) {
        if (splitter->orientation() == Qt::Vertical)
            vertical = splitter;
    }
    QVERIFY(vertical);
    QCOMPARE(vertical->widget(1), window->getLogList());
    QCOMPARE(vertical->sizes().value(0), 400);
    const int logHeight = vertical->sizes().value(1);
    QVERIFY(logHeight > 0);

    // The log keeps its height when the window grows.
    window->resizeInWorkspace(QSize(800, 700));
    QTRY_COMPARE(vertical->sizes().value(1), logHeight);
    QCOMPARE(vertical->sizes().value(0), 500);
}

void tst_WndTreeAdm::tree()
{
    TreeWindow* window = makeWindow(0);
    QTreeWidget* tree = window->getTree();
    QVERIFY(tree);
    QCOMPARE(tree->minimumSize(), QSize(210, 300));
    QVERIFY(tree->isHeaderHidden());
    QVERIFY(!tree->isSortingEnabled());
    QVERIFY(tree->rootIsDecorated());
    QCOMPARE(tree->columnCount(), 1);
    QCOMPARE(tree->headerItem()->text(0), QString());
}

void tst_WndTreeAdm::treeWidthKeptWhenWidening()
{
    TreeWindow* window = makeWindow(0);
    window->setTreeWidth(260);
    window->resizeInWorkspace(QSize(700, 400));
    window->show();
    QTRY_COMPARE(window->getTree()->width(), 260);
    const int rightWidth = window->getRightPane()->width();
    window->resizeInWorkspace(QSize(900, 400));
    QTRY_COMPARE(window->getRightPane()->width(), rightWidth + 200);
    QCOMPARE(window->getTree()->width(), 260);
}

void tst_WndTreeAdm::createTopPictures_data()
{
    QTest::addColumn<QColor>("base");
    QTest::newRow("white") << QColor(Qt::white);
    QTest::newRow("pale yellow") << QColor(0xff, 0xf8, 0xdc);
    QTest::newRow("dark") << QColor(0x10, 0x20, 0x30);
}

void tst_WndTreeAdm::createTopPictures()
{
    QFETCH(QColor, base);

    TreeWindow* window = makeWindow(0);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Base, base);
    window->setPalette(palette);

    QVBoxLayout* layout = nullptr;
    QWidget* container = nullptr;
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), &layout, &container));
    const QList<QLabel*> labels = headerLabels(container);
    QCOMPARE(labels.size(), 3);
    QCOMPARE(backgroundPicture(labels[0]), recoloured(headerleft_xpm, base));
    QCOMPARE(backgroundPicture(labels[1]), recoloured(headertile_xpm, base));
    QCOMPARE(backgroundPicture(labels[2]), recoloured(headerright_xpm, base));
    // Each picture had magenta to replace.
    QVERIFY(recoloured(headerleft_xpm, base) != QPixmap(headerleft_xpm).toImage().convertToFormat(QImage::Format_RGB32));

    QWidget* header = container->layout()->itemAt(0)->widget();
    QCOMPARE(header->palette().color(QPalette::Window), base);
    QVERIFY(header->autoFillBackground());
}

void tst_WndTreeAdm::createTopRow()
{
    TreeWindow* window = makeWindow(0);
    QVBoxLayout* layout = nullptr;
    QWidget* container = nullptr;
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), &layout, &container));
    QVERIFY(container);
    QCOMPARE(container->parentWidget(), window->getRightPane());
    QCOMPARE(container->layout(), layout);
    QCOMPARE(layout->contentsMargins(), QMargins());

    QWidget* header = layout->itemAt(0)->widget();
    QCOMPARE(header->parentWidget(), container);
    QCOMPARE(header->minimumHeight(), 48);
    QCOMPARE(header->maximumHeight(), 48);
    const QList<QLabel*> labels = headerLabels(container);
    QCOMPARE(labels[0]->minimumSize(), QSize(55, 48));
    QCOMPARE(labels[0]->maximumSize(), QSize(55, 48));
    QCOMPARE(labels[2]->minimumSize(), QSize(64, 48));
    QCOMPARE(labels[2]->maximumSize(), QSize(64, 48));
    QCOMPARE(labels[1]->maximumHeight(), 48);
    QCOMPARE(qobject_cast<QBoxLayout*>(header->layout())->stretch(1), 1);
    QCOMPARE(labels[1], window->getTopCaption());
    const QFont font = labels[1]->font();
    QCOMPARE(font.family(), QStringLiteral("Arial"));
    QCOMPARE(font.pointSize(), 16);
    QCOMPARE(font.weight(), QFont::Bold);
    QVERIFY(!font.italic());
}

void tst_WndTreeAdm::laterCreateTopReusesThePictures()
{
    TreeWindow* window = makeWindow(0);
    QWidget* first = nullptr;
    QWidget* second = nullptr;
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), nullptr, &first));
    QVERIFY(window->createTop(section_xpm, int(sizeof section_xpm), nullptr, &second));
    QVERIFY(first != second);
    QCOMPARE(backgroundPicture(headerLabels(second)[0]), backgroundPicture(headerLabels(first)[0]));
    QCOMPARE(backgroundPicture(headerLabels(second)[0]).size(), QSize(55, 48));
}

void tst_WndTreeAdm::createTopWithoutPicture()
{
    TreeWindow* window = makeWindow(0);
    const int children = window->getRightPane()->children().size();
    QWidget* container = nullptr;
    QVERIFY(!window->createTop(nullptr, 0, nullptr, &container));
    QVERIFY(!container);
    QCOMPARE(window->getRightPane()->children().size(), children);
    QVERIFY(!window->getTopCaption());
}

void tst_WndTreeAdm::topCaption()
{
    TreeWindow* window = makeWindow(0);
    window->setTopCaption(QStringLiteral("Nowhere"));
    QVERIFY(!window->getTopCaption());

    QWidget* first = nullptr;
    QWidget* second = nullptr;
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), nullptr, &first));
    window->setTopCaption(QStringLiteral("Users"));
    QCOMPARE(headerLabels(first)[1]->text(), QStringLiteral("Users"));
    QVERIFY(window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), nullptr, &second));
    window->setTopCaption(QStringLiteral("Groups"));
    QCOMPARE(headerLabels(first)[1]->text(), QStringLiteral("Users"));
    QCOMPARE(headerLabels(second)[1]->text(), QStringLiteral("Groups"));
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
    QCOMPARE(first->focusPolicy(), Qt::WheelFocus);
    QVERIFY(first->isVisible());

    // A pane made without the flag is deleted on replacement all the same.
    QVERIFY(!first->testAttribute(Qt::WA_DeleteOnClose));
    QPointer<QWidget> second = new QWidget(window->getRightPane());
    window->setRightPaneWindow(second, false);
    QVERIFY(!first->isVisible());
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

void tst_WndTreeAdm::bar_data()
{
    QTest::addColumn<bool>("showBar");
    QTest::newRow("editing page") << true;
    QTest::newRow("page without bar") << false;
}

void tst_WndTreeAdm::bar()
{
    QFETCH(bool, showBar);
    TreeWindow* window = makeWindow(0);
    window->show();
    window->getApplyButton()->setEnabled(true);
    window->getResetButton()->setEnabled(true);
    QCOMPARE(window->getApplyButton()->text(), QStringLiteral("A&pply"));
    QCOMPARE(window->getResetButton()->text(), QStringLiteral("Re&set"));

    window->setRightPaneWindow(new QWidget(window->getRightPane()), showBar);
    QCOMPARE(window->getButtonBar()->isVisible(), showBar);
    if (showBar) {
        QVERIFY(!window->getApplyButton()->isEnabled());
        QVERIFY(!window->getResetButton()->isEnabled());
        // The buttons stand at the right, Apply first.
        QVERIFY(window->getApplyButton()->x() < window->getResetButton()->x());
    }
}

void tst_WndTreeAdm::activation()
{
    TreeWindow* window = makeWindow(0);
    window->show();
    m_desktop->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_desktop.get()));
    m_desktop->setFocus();
    QVERIFY(!window->hasFocus());
    QVERIFY(m_desktop->activateWindow(window));
    QTRY_VERIFY(window->hasFocus());
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
