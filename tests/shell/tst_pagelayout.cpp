// Every page of the navigation tree laid out whole in the main window: at the size the
// window opens at, no widget of a page is smaller than its minimum size; the window's
// minimum follows the page it shows; a page larger than the workspace scrolls. Stored texts
// far wider than the window widen no page past the area that shows it; a box or label that
// shows one shortened tells it whole and shows more of it as the window is made wider, and
// shows one holding line breaks on one line.

#include "activewindow.h"
#include "dialogrecorder.h"
#include "layoutcheck.h"
#include "longtexts.h"
#include "shellharness.h"
#include "workspaceframe.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <optional>

using namespace StandIn;
using LayoutCheck::squeezed;

namespace {

// The workspace of a console host on a 1024 by 768 screen.
constexpr QSize ConsoleSize(1024, 720);

// The scroll area the pages of window are shown in; null when there is none.
const QScrollArea* pageScrollArea(const WndMain* window)
{
    for (const QWidget* above = window->getRightPane(); above; above = above->parentWidget()) {
        if (const auto* area = qobject_cast<const QScrollArea*>(above))
            return area;
    }
    return nullptr;
}

} // namespace

class tst_PageLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyPageFitsTheOpeningSize_data();
    void everyPageFitsTheOpeningSize();
    void minimumFollowsThePageShown();
    void pageLargerThanTheWorkspaceScrolls_data();
    void pageLargerThanTheWorkspaceScrolls();
    void longTextsKeepEveryPageInItsArea_data();
    void longTextsKeepEveryPageInItsArea();
    void longTextsToldWholeAndShownMoreOfInAWiderWindow_data();
    void longTextsToldWholeAndShownMoreOfInAWiderWindow();
    void storedLineBreaksOnOneLineAndToldWhole_data();
    void storedLineBreaksOnOneLineAndToldWhole();
    void tabFromTheTreeGoesToThePage_data();
    void tabFromTheTreeGoesToThePage();
    void clickOnAnEmptyPartTakesTheKeysFromTheTree_data();
    void clickOnAnEmptyPartTakesTheKeysFromTheTree();

private:
    WndMain* openWindow(const QSize& console, const TestServer& server);
    WndMain* openWindow(const QSize& console) { return openWindow(console, *m_server); }
    // A window of the opening size showing the page titled title, the tree with the keys.
    WndMain* openWithTheTreeFocused(const QString& title);
    void storedTextsToldWholeAndShownMoreOf(const TestServer& server);

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<TestServer> m_longTexts; // every stored text made long
    std::unique_ptr<TestServer> m_brokenTexts; // and given a line break
    std::unique_ptr<ConsoleStandIn> m_console;
};

void tst_PageLayout::initTestCase()
{
    m_server = startStandIn();
    m_longTexts = startStandIn();
    LongTexts::lengthenEveryText(*m_longTexts);
    m_brokenTexts = startStandIn();
    LongTexts::lengthenEveryText(*m_brokenTexts, LongTexts::brokenAndLengthened);
}

void tst_PageLayout::init()
{
    m_console = std::make_unique<ConsoleStandIn>();
}

void tst_PageLayout::cleanup()
{
    m_console.reset();
}

WndMain* tst_PageLayout::openWindow(const QSize& console, const TestServer& server)
{
    m_console->console()->resize(console);
    QCoreApplication::processEvents();
    WndMain* window = m_console->open(server.port());
    if (window && !QTest::qWaitForWindowExposed(window))
        return nullptr;
    return window;
}

WndMain* tst_PageLayout::openWithTheTreeFocused(const QString& title)
{
    WndMain* window = openWindow(ConsoleSize);
    if (!window)
        return nullptr;
    chooseTitled(window, title);
    if (!showActive(m_console->console()))
        return nullptr;
    window->getTree()->setFocus();
    return window->getTree()->hasFocus() ? window : nullptr;
}

namespace {

// The first point of pane, row by row, where nothing below the pane takes the keys from a
// click.
std::optional<QPoint> emptyPoint(const QWidget* pane)
{
    const auto takesClicks = [pane](const QWidget* widget) {
        for (; widget && widget != pane; widget = widget->parentWidget()) {
            if (widget->focusPolicy() & Qt::ClickFocus)
                return true;
        }
        return false;
    };
    for (int y = 2; y < pane->height(); y += 4) {
        for (int x = 2; x < pane->width(); x += 4) {
            if (!takesClicks(pane->childAt(x, y)))
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

} // namespace

void addEveryPage()
{
    QTest::addColumn<QString>("title");
    for (const char* own : {"Ornel Corvane", "Configuration", "Quick Checklist", "smtp"})
        QTest::newRow(own) << QString::fromLatin1(own);
    for (const PageFactory::PageEntry& page : PageFactory::pages())
        QTest::newRow(page.title) << QString::fromLatin1(page.title);
}

void tst_PageLayout::everyPageFitsTheOpeningSize_data()
{
    addEveryPage();
}

void tst_PageLayout::everyPageFitsTheOpeningSize()
{
    QFETCH(QString, title);
    DialogRecorder dialogs;
    WndMain* window = openWindow(ConsoleSize);
    QVERIFY(window);
    const QSize opened = window->size();

    chooseTitled(window, title);
    QVERIFY(dialogs.messages.isEmpty());
    const QWidget* pane = window->getCurrentPane();
    QVERIFY(pane);
    QCOMPARE(squeezed(pane), QStringList());
    // Every page has the room it asks for, not only the least it can do with.
    QVERIFY2(pane->width() >= pane->sizeHint().width() && pane->height() >= pane->sizeHint().height(),
             qPrintable(QStringLiteral("%1x%2").arg(pane->width()).arg(pane->height())));
    // Without growing the window.
    QCOMPARE(window->size(), opened);
}

void tst_PageLayout::minimumFollowsThePageShown()
{
    // A stored size smaller than any page needs.
    m_console->storeSize(500, 300);
    WndMain* window = openWindow(ConsoleSize);
    QVERIFY(window);
    QMdiSubWindow* frame = workspaceFrame(window);
    const QSize decoration = frame->size() - window->size();

    chooseTitled(window, QStringLiteral("Connections"));
    const QSize small = window->minimumSize();
    QCOMPARE(small, window->minimumSizeHint());
    QCOMPARE(squeezed(window->getCurrentPane()), QStringList());

    chooseTitled(window, QStringLiteral("Backup"));
    const QSize large = window->minimumSize();
    QVERIFY(large.width() > small.width() && large.height() > small.height());
    QCOMPARE(large, window->minimumSizeHint());
    QVERIFY(window->width() >= large.width() && window->height() >= large.height());
    QCOMPARE(frame->minimumSize(), large + decoration);
    QCOMPARE(squeezed(window->getCurrentPane()), QStringList());
    // The whole frame stays in the workspace.
    QVERIFY(m_console->desktop()->viewport()->rect().contains(frame->geometry()));

    // Back on the small page the window may be made small again; it keeps its size.
    const QSize grown = window->size();
    chooseTitled(window, QStringLiteral("Connections"));
    QCOMPARE(window->minimumSize(), small);
    QCOMPARE(window->size(), grown);
}

void tst_PageLayout::pageLargerThanTheWorkspaceScrolls_data()
{
    QTest::addColumn<bool>("shrunkAfter");
    QTest::newRow("opened in a small workspace") << false;
    QTest::newRow("the workspace made small while the page shows") << true;
}

void tst_PageLayout::pageLargerThanTheWorkspaceScrolls()
{
    QFETCH(bool, shrunkAfter);
    const QSize small(640, 400);
    WndMain* window = openWindow(shrunkAfter ? ConsoleSize : small);
    QVERIFY(window);
    QMdiSubWindow* frame = workspaceFrame(window);

    chooseTitled(window, QStringLiteral("Backup"));
    if (shrunkAfter) {
        m_console->console()->resize(small);
        QTRY_COMPARE(m_console->desktop()->viewport()->size(), small);
        // The administrator makes the window fit again.
        frame->resize(small);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    const QWidget* pane = window->getCurrentPane();
    QVERIFY(window->minimumSizeHint().width() > 640);
    // As large as the workspace allows, and no larger.
    QCOMPARE(frame->size(), m_console->desktop()->viewport()->size());
    // The page keeps its minimum size and scrolls.
    QCOMPARE(squeezed(pane), QStringList());
    QVERIFY(pane->width() >= pane->minimumSizeHint().width());
    const QScrollArea* area = pageScrollArea(window);
    QVERIFY(area);
    QTRY_VERIFY(area->horizontalScrollBar()->isVisible());
    QTRY_VERIFY(area->verticalScrollBar()->isVisible());
}

void tst_PageLayout::longTextsKeepEveryPageInItsArea_data()
{
    addEveryPage();
}

// The window keeps the size it opened at and the page the width of the area that shows it,
// with no widget squeezed and no text cut without an ellipsis and the whole text as its tool
// tip; Apply and Reset stay in the window, and the window in the workspace. So too once such
// a text is typed into every field of the page.
void tst_PageLayout::longTextsKeepEveryPageInItsArea()
{
    QFETCH(QString, title);
    DialogRecorder dialogs;
    WndMain* window = openWindow(ConsoleSize, *m_longTexts);
    QVERIFY(window);
    const QSize opened = window->size();

    chooseTitled(window, title);
    QWidget* pane = window->getCurrentPane();
    QVERIFY(pane);
    const QScrollArea* area = pageScrollArea(window);
    QVERIFY(area);
    const auto keepsItsArea = [&] {
        QCOMPARE(squeezed(pane).join(u'\n'), QString());
        QCOMPARE(LayoutCheck::cutWithoutTheRest(window).join(u'\n'), QString());
        QVERIFY2(pane->width() <= area->viewport()->width(),
                 qPrintable(QStringLiteral("the page is %1 wide in an area of %2")
                                .arg(pane->width())
                                .arg(area->viewport()->width())));
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        QCOMPARE(window->size(), opened);
        QVERIFY(m_console->desktop()->viewport()->rect().contains(workspaceFrame(window)->geometry()));
        for (const QPushButton* button : {window->getApplyButton(), window->getResetButton()}) {
            const QRect shown(button->mapTo(window, QPoint(0, 0)), button->size());
            QVERIFY2(window->rect().contains(shown), qPrintable(button->text()));
        }
    };
    keepsItsArea();
    if (QTest::currentTestFailed())
        return;

    // Such a text typed into every field the page has.
    for (QLineEdit* field : pane->findChildren<QLineEdit*>()) {
        if (field->isVisible() && field->isEnabled() && !field->isReadOnly())
            QTest::keyClicks(field, LongTexts::lengthened(QStringLiteral("typed")));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    keepsItsArea();
}

void tst_PageLayout::longTextsToldWholeAndShownMoreOfInAWiderWindow_data()
{
    addEveryPage();
}

void tst_PageLayout::longTextsToldWholeAndShownMoreOfInAWiderWindow()
{
    storedTextsToldWholeAndShownMoreOf(*m_longTexts);
}

void tst_PageLayout::storedLineBreaksOnOneLineAndToldWhole_data()
{
    addEveryPage();
}

void tst_PageLayout::storedLineBreaksOnOneLineAndToldWhole()
{
    storedTextsToldWholeAndShownMoreOf(*m_brokenTexts);
}

// The row's page on the server: no box of the toolkit's, every entry of an opened list and
// every box or label showing a stored text shortened tells it whole, shows more of it in a
// wider window, and shows one holding line breaks on one line.
void tst_PageLayout::storedTextsToldWholeAndShownMoreOf(const TestServer& server)
{
    QFETCH(QString, title);
    DialogRecorder dialogs;
    WndMain* window = openWindow(ConsoleSize, server);
    QVERIFY(window);
    chooseTitled(window, title);
    QWidget* pane = window->getCurrentPane();
    QVERIFY(pane);
    QCOMPARE(LayoutCheck::untoldEntries(pane).join(u'\n'), QString());
    // The page's own widgets and the window's caption above it.
    for (QWidget* top : {pane, static_cast<QWidget*>(window)}) {
        QCOMPARE(LayoutCheck::plainBoxes(top).join(u'\n'), QString());
        QCOMPARE(LayoutCheck::storedLinesNotOnOne(top).join(u'\n'), QString());
        QCOMPARE(LayoutCheck::untoldTexts(top).join(u'\n'), QString());
        QCOMPARE(LayoutCheck::fieldsNotGrowing(workspaceFrame(window), top, 300).join(u'\n'), QString());
    }
}

void tst_PageLayout::tabFromTheTreeGoesToThePage_data()
{
    addEveryPage();
}

// Tab from the navigation tree goes to the page's first widget that takes the keys, the log
// view being one such widget itself; nothing that shows no focus (the area the page is shown
// in, the page's container) stops it on the way.
void tst_PageLayout::tabFromTheTreeGoesToThePage()
{
    QFETCH(QString, title);
    DialogRecorder dialogs;
    WndMain* window = openWithTheTreeFocused(title);
    QVERIFY(window);
    QTest::keyClick(window->getTree(), Qt::Key_Tab);
    const QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    const QWidget* pane = window->getCurrentPane();
    const QString reached = LayoutCheck::nameOf(focus) + QStringLiteral(" has the keys");
    if (title == QLatin1String("smtp")) {
        QVERIFY2(focus == pane, qPrintable(reached));
        return;
    }
    // The page's widgets that take the keys, in the order Tab goes through them.
    QList<const QWidget*> stops;
    for (const QWidget* next = pane->nextInFocusChain(); pane->isAncestorOf(next); next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled())
            stops.append(next);
    }
    // The product page shows nothing that takes the keys: Tab passes it by.
    if (stops.isEmpty()) {
        QVERIFY2(!pane->isAncestorOf(focus), qPrintable(reached));
        return;
    }
    // A widget with a focus proxy (a tab widget's tab bar) hands the keys on to it.
    const QWidget* first = stops.first();
    while (first->focusProxy())
        first = first->focusProxy();
    QVERIFY2(focus == first, qPrintable(reached));
}

void tst_PageLayout::clickOnAnEmptyPartTakesTheKeysFromTheTree_data()
{
    addEveryPage();
}

// A click where the page shows nothing that takes the keys (its header, a label, the room
// between its widgets) takes them from the tree: the pane the page is shown in takes them.
void tst_PageLayout::clickOnAnEmptyPartTakesTheKeysFromTheTree()
{
    QFETCH(QString, title);
    DialogRecorder dialogs;
    WndMain* window = openWithTheTreeFocused(title);
    QVERIFY(window);
    QWidget* pane = window->getCurrentPane();
    const std::optional<QPoint> empty = emptyPoint(pane);
    QVERIFY(empty);
    QWidget* clicked = pane->childAt(*empty) ? pane->childAt(*empty) : pane;
    QTest::mouseClick(clicked, Qt::LeftButton, {}, clicked->mapFrom(pane, *empty));
    QCOMPARE(QApplication::focusWidget(), pane);
}

QTEST_MAIN(tst_PageLayout)
#include "tst_pagelayout.moc"
