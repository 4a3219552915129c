// The main window's page switch, Apply and Reset against the stand-in server: the page
// table, the page every item opens, the unsaved-changes prompt and its answers, sending the
// pending statements, the navigation lists, and what happens to choices made while a switch
// or an apply waits.

#include "dbtable.h"
#include "dialogrecorder.h"
#include "indicatorabort.h"
#include "pendingapply.h"
#include "qnavigationitem.h"
#include "shellharness.h"
#include "wnddlglogo.h"
#include "wndlog.h"
#include "wndnavigation.h"
#include "wndprogress.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

using namespace StandIn;
using Order = PageFactory::ArgumentOrder;

namespace {

enum class Pane { ProductPage, NavigationList, Checklist, RecordedPage, LogViewer, Unregistered };
enum PromptAnswer { Yes = 0, No = 1, Cancel = 2 };

const QString LostCaption = QStringLiteral("Ornel Corvane - 127.0.0.1 - NOT CONNECTED!");
const QString Question = QStringLiteral(
    "You have modified some data in the current view.\nSave changes on 127.0.0.1?");
const QString LostText = QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1.");

const QStringList Statements{
    "update notes set text='one' where name='a'",
    "update notes set text='two' where name='b'",
    "update notes set text='three' where name='c'",
};

WndNavigation* navigationPage(const WndMain* window)
{
    QWidget* pane = window->getCurrentPane();
    return pane ? pane->findChild<WndNavigation*>() : nullptr;
}

// A page with only the standard argument order.
class StandardPage : public QWidget
{
    Q_OBJECT

public:
    StandardPage(QWidget* parent, DBConn*, DBCtrl*, Desktop*, const char*, Qt::WindowFlags)
        : QWidget(parent) {}
};

// A page that hands its statements over while it is built, as a page does that rewrites
// stored values it cannot show.
class HandingInPage : public QWidget
{
    Q_OBJECT

public:
    HandingInPage(QWidget* parent, DBConn*, DBCtrl* ctrl, Desktop*, const char*, Qt::WindowFlags)
        : QWidget(parent)
    {
        ctrl->set(Statements.mid(0, 1), false);
    }
};

const DBCOL NoteColumns[] = {{1, "name", 1}, {1, "text", 0}, {0, nullptr, 0}};

// A page that loads its table while it is built, as the list and configuration pages do.
class LoadingPage : public QWidget
{
    Q_OBJECT

public:
    LoadingPage(QWidget* parent, DBConn* conn, DBCtrl*, Desktop*, const char*, Qt::WindowFlags)
        : QWidget(parent)
    {
        loaded = notes.select(this, conn, "notes", NoteColumns,
                              DBTable::WaitWithProgress | DBTable::ReportRefusal);
    }

    DBTable notes;
    bool loaded = false;
};

} // namespace

Q_DECLARE_METATYPE(Pane)
Q_DECLARE_METATYPE(PageFactory::ArgumentOrder)

class tst_WndMainPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pageTable();

    void everyItemOpensItsPage_data();
    void everyItemOpensItsPage();
    void choosingTheCurrentItemDoesNothing();

    void switchWithPendingStatements_data();
    void switchWithPendingStatements();
    void cancelAfterAMousePress();
    void lostConnectionDuringYes();

    void secondApplySendsOnlyWhatWasNotCarriedOut();
    void applyStoppedPartWay_data();
    void applyStoppedPartWay();
    void reset_data();
    void reset();
    void barFollowsWhatIsPending_data();
    void barFollowsWhatIsPending();

    void navigationRowsActOnTheirOwnWindow();

    void pageLoadShowsTheWaitIndicator_data();
    void pageLoadShowsTheWaitIndicator();

    void treeChangeDuringASwitchIsTurnedBack();
    void applyDuringASwitchIsRefused();
    void resetDuringAnApplyIsRefused();
    void closeDuringASwitchWaitsForItsEnd();
    void windowDestroyedDuringApply();
    void closingSaveCutShort_data();
    void closingSaveCutShort();

private:
    QStringList newJournal() const { return journalFrom(*m_server, m_journalStart); }
    QTreeWidgetItem* item(const QString& path) const { return treeItem(m_window, path); }
    void choose(const QString& path) const { ::choose(m_window, path); }
    DBCtrl* ctrl() const { return m_window->getDBCtrl(); }

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ConsoleStandIn> m_console;
    WndMain* m_window = nullptr;
    int m_journalStart = 0;
};

void tst_WndMainPages::initTestCase()
{
    m_server = startStandIn();
}

void tst_WndMainPages::init()
{
    m_server->clearControls();
    m_server->setTable("notes", {{"name", TypeString, true}, {"text", TypeString, false}},
                       {{"a", "x"}, {"b", "y"}, {"c", "z"}});
    m_console = std::make_unique<ConsoleStandIn>();
    // Room for the whole tree, so that every item can be clicked.
    m_console->storeSize(900, 650);
    m_window = m_console->open(m_server->port());
    QVERIFY(m_window);
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    receivedArguments().clear();
    m_journalStart = m_server->journal().size();
}

void tst_WndMainPages::cleanup()
{
    m_console.reset();
    for (const PageFactory::PageEntry& page : PageFactory::pages())
        PageFactory::unregisterPage(page.kind);
    receivedArguments().clear();
}

void tst_WndMainPages::pageTable()
{
    // A class without the table's argument order for an item is refused, with the reason.
    QTest::ignoreMessage(QtWarningMsg,
                         "PageFactory: StandardPage cannot be the page \"SMTP Properties\": "
                         "it has no constructor (parent, conn, ctrl, name, flags)");
    QVERIFY(!PageFactory::registerPage<StandardPage>(PageKind::SmtpProperties));
    QVERIFY(!PageFactory::isRegistered(PageKind::SmtpProperties));
    QWidget container;
    QVERIFY(!PageFactory::build(PageKind::SmtpProperties, &container, nullptr, nullptr, nullptr));

    // A later registration replaces the earlier; without one nothing is built.
    QVERIFY(PageFactory::registerPage<RecordingPage>(PageKind::Groups));
    QVERIFY(PageFactory::registerPage<StandardPage>(PageKind::Groups));
    QVERIFY(qobject_cast<StandardPage*>(
        PageFactory::build(PageKind::Groups, &container, nullptr, nullptr, nullptr)));
    QVERIFY(receivedArguments().isEmpty());
    PageFactory::unregisterPage(PageKind::Groups);
    QVERIFY(!PageFactory::build(PageKind::Groups, &container, nullptr, nullptr, nullptr));
}

void tst_WndMainPages::everyItemOpensItsPage_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Pane>("pane");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<Order>("order");
    QTest::addColumn<bool>("definitionPage"); // empty name, no delete-on-close

    const auto page = [](const char* path, Order order, bool bar = true, bool definition = false) {
        QTest::newRow(path) << QString::fromLatin1(path) << Pane::RecordedPage
                            << QString::fromLatin1(path).section('/', -1) << bar << order
                            << definition;
    };
    const auto other = [](const char* path, Pane pane, const char* caption) {
        QTest::newRow(path) << QString::fromLatin1(path) << pane << QString::fromLatin1(caption)
                            << false << Order::Standard << false;
    };

    other("Ornel Corvane", Pane::ProductPage, "");
    other("Configuration", Pane::NavigationList, "Configuration");
    page("Configuration/Services", Order::Standard);
    page("Configuration/Domains", Order::Standard);
    page("Configuration/SMTP Properties", Order::WithoutDesktop);
    page("Configuration/Antivirus", Order::Standard);
    page("Configuration/Antispam", Order::DesktopBeforeCtrl);
    page("Configuration/Backup", Order::WithoutDesktop);
    page("Configuration/Internet Connection", Order::WithoutDesktop);
    page("Configuration/Scheduling", Order::Standard);
    page("Configuration/POP3 Download", Order::Standard);
    page("Configuration/ETRN Download", Order::Standard);
    page("Configuration/Remote Administration", Order::Standard);
    page("Configuration/Advanced Options", Order::Standard);
    other("Configuration/Definitions", Pane::NavigationList, "Definitions");
    page("Configuration/Definitions/Time Ranges", Order::DesktopLast, true, true);
    page("Configuration/Definitions/IP Address Groups", Order::DesktopLast, true, true);
    page("Configuration/Definitions/User Templates", Order::Standard);
    other("Domain Settings", Pane::NavigationList, "Domain Settings");
    page("Domain Settings/Users", Order::Standard);
    page("Domain Settings/Groups", Order::Standard);
    page("Domain Settings/Aliases", Order::Standard);
    other("Status", Pane::NavigationList, "Status");
    page("Status/Mail Queue", Order::Standard, false);
    page("Status/Connections", Order::Standard, false);
    other("Logs", Pane::NavigationList, "Logs");
    other("Logs/smtp", Pane::LogViewer, "");
    other("Logs/debug", Pane::LogViewer, "");
    other("Quick Checklist", Pane::Checklist, "Ornel Corvane 5.0");
    // A page that no subsystem has registered yet.
    QTest::newRow("Users without a page") << "Domain Settings/Users" << Pane::Unregistered << ""
                                          << false << Order::Standard << false;
}

void tst_WndMainPages::everyItemOpensItsPage()
{
    QFETCH(QString, path);
    QFETCH(Pane, pane);
    QFETCH(QString, caption);
    QFETCH(bool, bar);
    QFETCH(Order, order);
    QFETCH(bool, definitionPage);

    RecordingPagesRegistered standIns;
    if (pane == Pane::Unregistered)
        PageFactory::unregisterPage(PageKind::Users);
    DialogRecorder dialogs;
    if (pane == Pane::ProductPage)
        choose("Status");
    // The bar starts disabled whatever state the buttons were left in.
    m_window->getApplyButton()->setEnabled(true);
    m_window->getResetButton()->setEnabled(true);
    receivedArguments().clear();

    QTreeWidgetItem* chosen = item(path);
    QVERIFY(chosen);
    m_window->getTree()->setCurrentItem(chosen);

    QCOMPARE(m_window->getCurrentItem(), chosen);
    QVERIFY(dialogs.messages.isEmpty());
    QWidget* shown = m_window->getCurrentPane();
    QVERIFY(shown);
    QCOMPARE(shown->parentWidget(), m_window->getRightPane());
    QVERIFY(shown->isVisible());
    QCOMPARE(m_window->getButtonBar()->isVisible(), bar);
    if (bar) {
        QVERIFY(!m_window->getApplyButton()->isEnabled());
        QVERIFY(!m_window->getResetButton()->isEnabled());
    }
    if (!caption.isEmpty())
        QCOMPARE(m_window->getTopCaption()->text(), caption);
    if (pane != Pane::RecordedPage)
        QVERIFY(receivedArguments().isEmpty());

    switch (pane) {
    case Pane::ProductPage:
        QVERIFY(qobject_cast<WndDlgLogo*>(shown));
        break;
    case Pane::LogViewer: {
        // Without a header row, deleted as it closes, named for its menus.
        const auto* view = qobject_cast<WndLog*>(shown);
        QVERIFY(view);
        QCOMPARE(logDescriptorName(view->logDescriptor()), chosen->text(0));
        QCOMPARE(view->objectName(), chosen->text(0) == QLatin1String("debug")
                                         ? QStringLiteral("Corvane_Debug_Log")
                                         : QStringLiteral("Corvane_Log"));
        QVERIFY(view->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!view->isDetached());
        break;
    }
    case Pane::Unregistered:
        QCOMPARE(QByteArray(shown->metaObject()->className()), QByteArray("QWidget"));
        QVERIFY(shown->children().isEmpty());
        break;
    case Pane::NavigationList: {
        // A row for each child in order, targeting it, with the group's icon.
        QVERIFY(navigationPage(m_window));
        const QTreeWidget* list = navigationPage(m_window)->m_list;
        QCOMPARE(list->topLevelItemCount(), chosen->childCount());
        const QImage icon = chosen->icon(0).pixmap(16, 16).toImage();
        for (int i = 0; i < chosen->childCount(); ++i) {
            auto* row = static_cast<QNavigationItem*>(list->topLevelItem(i));
            QCOMPARE(row->text(0), chosen->child(i)->text(0));
            QCOMPARE(row->target(), chosen->child(i));
            QCOMPARE(row->icon(0).pixmap(16, 16).toImage(), icon);
        }
        break;
    }
    case Pane::Checklist:
        QVERIFY(shown->findChild<QTextBrowser*>());
        break;
    case Pane::RecordedPage: {
        QCOMPARE(receivedArguments().size(), 1);
        const ReceivedArguments received = receivedArguments().first();
        QCOMPARE(received.order, order);
        QCOMPARE(received.self->parentWidget(), shown);
        QCOMPARE(received.conn, m_window->getConnection());
        QCOMPARE(received.ctrl, ctrl());
        QCOMPARE(received.desktop, order == Order::WithoutDesktop ? nullptr : m_console->desktop());
        QCOMPARE(received.nullName, !definitionPage);
        QCOMPARE(received.self->testAttribute(Qt::WA_DeleteOnClose), !definitionPage);
        // Below the header row.
        QCOMPARE(shown->layout()->indexOf(received.self), 1);
        break;
    }
    }
}

void tst_WndMainPages::choosingTheCurrentItemDoesNothing()
{
    choose("Domain Settings");
    QWidget* shown = m_window->getCurrentPane();
    ctrl()->set(QStringList{Statements.first()}, false);
    DialogRecorder dialogs;
    CtrlSignalLog log(*ctrl());

    m_window->select(item("Domain Settings"));
    choose("Domain Settings");

    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(m_window->getCurrentPane(), shown);
    QCOMPARE(ctrl()->m_pending, QStringList{Statements.first()});
    QVERIFY(log.events.isEmpty());
}

void tst_WndMainPages::switchWithPendingStatements_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("withdraw");  // a page empties the list when asked to check it
    QTest::addColumn<QString>("refused"); // the statement the server refuses
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("switched");
    QTest::addColumn<QStringList>("pendingAfter");

    const QStringList none;
    QTest::newRow("No empties silently")
        << int(No) << false << QString() << none << none << QStringList{Question} << true << none;
    QTest::newRow("Cancel stays") << int(Cancel) << false << QString() << none
                                  << QStringList{"update_again"} << QStringList{Question} << false
                                  << Statements;
    QTest::newRow("Yes applies first")
        << int(Yes) << false << QString() << Statements
        << QStringList{"before_apply", "empty(true)", "apply"} << QStringList{Question} << true << none;
    QTest::newRow("Yes, withdrawn by a page")
        << int(Yes) << true << QString() << none << QStringList{"before_apply", "update_again"}
        << QStringList{Question} << false << none;
    // The server carried the first out; the rest stays pending, and so does the page.
    QTest::newRow("Yes, second refused")
        << int(Yes) << false << "name='b'" << Statements.mid(0, 2) << QStringList{"before_apply", "carried_out(1)"}
        << QStringList{Question, "Query failed: Access denied"} << false << Statements.mid(1);
}

void tst_WndMainPages::switchWithPendingStatements()
{
    QFETCH(int, answer);
    QFETCH(bool, withdraw);
    QFETCH(QString, refused);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, events);
    QFETCH(QStringList, boxes);
    QFETCH(bool, switched);
    QFETCH(QStringList, pendingAfter);

    RecordingPagesRegistered standIns;
    choose("Status");
    QWidget* shown = m_window->getCurrentPane();
    if (!refused.isEmpty())
        QVERIFY(m_server->refuse(refused, 113));
    ctrl()->set(Statements, false);
    QObject page;
    if (withdraw)
        connect(ctrl(), &DBCtrl::sig_before_apply, &page, [this] { ctrl()->m_pending.clear(); });
    qsizetype pagesBuiltAtApply = -1;
    connect(ctrl(), &DBCtrl::sig_apply, &page, [&] { pagesBuiltAtApply = receivedArguments().size(); });
    CtrlSignalLog log(*ctrl());
    DialogRecorder dialogs;
    dialogs.answer(answer);

    choose("Domain Settings/Users");

    QCOMPARE(newJournal(), sent);
    QCOMPARE(log.events, events);
    QCOMPARE(dialogs.messageTexts(), boxes);
    const DialogRecorder::Message& prompt = dialogs.messages.first();
    QCOMPARE(prompt.icon, QMessageBox::Warning);
    QCOMPARE(prompt.parent.data(), m_window);
    QCOMPARE(prompt.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(prompt.buttonTexts, QStringList({"&Yes", "&No", "&Cancel"}));
    QCOMPARE(prompt.defaultButton, int(Yes));
    QCOMPARE(prompt.escapeButton, int(Cancel));
    QCOMPARE(ctrl()->m_pending, pendingAfter);
    QTreeWidgetItem* current = item(switched ? "Domain Settings/Users" : "Status");
    QCOMPARE(m_window->getCurrentItem(), current);
    QCOMPARE(m_window->getTree()->currentItem(), current);
    QCOMPARE(receivedArguments().size(), switched ? 1 : 0);
    // Only Cancel and a withdrawn apply turn the next change of the tree back unasked.
    QCOMPARE(m_window->isReverting(), answer == Cancel || withdraw);
    if (switched) {
        // The new page's bar shows what is still pending.
        QCOMPARE(m_window->getApplyButton()->isEnabled(), !pendingAfter.isEmpty());
        QCOMPARE(m_window->getResetButton()->isEnabled(), !pendingAfter.isEmpty());
    } else {
        QCOMPARE(m_window->getCurrentPane(), shown);
    }
    // The apply ends before the new page is built.
    if (events.contains("apply"))
        QCOMPARE(pagesBuiltAtApply, 0);
}

void tst_WndMainPages::cancelAfterAMousePress()
{
    choose("Domain Settings");
    QTreeWidgetItem* current = item("Domain Settings");
    ctrl()->set(Statements, false);
    CtrlSignalLog log(*ctrl());
    DialogRecorder dialogs;
    dialogs.answer(Cancel);

    QTreeWidget* tree = m_window->getTree();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(item("Domain Settings/Users")).center());

    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(tree->currentItem(), current);
    QTRY_COMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{current});
    QCOMPARE(log.events, QStringList{"update_again"});

    // The next choice of another item is turned back without asking.
    choose("Domain Settings/Groups");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(tree->currentItem(), current);
    QCOMPARE(log.events, QStringList{"update_again"});
}

void tst_WndMainPages::lostConnectionDuringYes()
{
    // The first statement is carried out, the connection drops on the second.
    QVERIFY(m_server->dropAt("name='b'", 1));
    ctrl()->set(Statements, false);
    CtrlSignalLog log(*ctrl());
    DialogRecorder dialogs;
    dialogs.answer(Yes);

    choose("Status");

    QCOMPARE(dialogs.messageTexts(), QStringList({Question, LostText}));
    QCOMPARE(dialogs.messages.at(1).icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages.at(1).parent.data(), m_window);
    QCOMPARE(m_window->windowTitle(), LostCaption);
    QCOMPARE(m_window->getCurrentItem(), item("Status"));
    QCOMPARE(ctrl()->m_pending, Statements.mid(1));

    // From now on the tree follows the choices and nothing else happens.
    QWidget* shown = m_window->getCurrentPane();
    for (const char* path : {"Domain Settings/Users", "Quick Checklist"}) {
        choose(path);
        QCOMPARE(m_window->getTree()->currentItem(), item(path));
        QCOMPARE(m_window->getCurrentItem(), item("Status"));
        QCOMPARE(m_window->getCurrentPane(), shown);
    }
    // Nor does an apply say anything more.
    m_window->apply();
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(m_window->windowTitle(), LostCaption);
    QCOMPARE(ctrl()->m_pending, Statements.mid(1));
    QCOMPARE(log.events, QStringList({"before_apply", "carried_out(1)", "before_apply"}));
}

void tst_WndMainPages::secondApplySendsOnlyWhatWasNotCarriedOut()
{
    QVERIFY(m_server->refuse("name='b'", 113, 1));
    ctrl()->set(Statements, false);
    DialogRecorder dialogs;
    QCOMPARE(applyPendingStatements(m_window, m_window->getConnection(), ctrl()), ApplyOutcome::Refused);
    QCOMPARE(dialogs.messageTexts(), QStringList{"Query failed: Access denied"});
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(ctrl()->m_pending, Statements.mid(1));

    m_journalStart = m_server->journal().size();
    CtrlSignalLog log(*ctrl());
    m_window->getApplyButton()->click();
    QCOMPARE(newJournal(), Statements.mid(1));
    QCOMPARE(log.events, QStringList({"before_apply", "empty(true)", "apply"}));
    QCOMPARE(log.pendingAtApply, QStringList());
    QCOMPARE(m_server->rows("notes").value(2).value(1), QStringLiteral("three"));
    QVERIFY(!m_window->getApplyButton()->isEnabled());
    QVERIFY(!m_window->getResetButton()->isEnabled());
}

// Every way an apply starts, stopped at the second statement by the server or by "&Abort"
// while the server keeps silent: the first statement is announced as carried out and leaves
// the list, the second and third stay, nothing after the stop is sent, and the stop is told.
// A window asked to close stays open on them.
void tst_WndMainPages::applyStoppedPartWay_data()
{
    QTest::addColumn<QString>("start"); // "button", "switch" (Yes) or "close" (Yes)
    QTest::addColumn<bool>("abort");    // Abort on the indicator, else the server refuses
    QTest::addColumn<QStringList>("boxes");

    const QString refused = QStringLiteral("Query failed: Access denied");
    // An aborted statement is told as an aborted load is: refused, with no text.
    const QString aborted = QStringLiteral("Query failed: ");
    QTest::newRow("Apply, refused") << "button" << false << QStringList{refused};
    QTest::newRow("Apply, aborted") << "button" << true << QStringList{aborted};
    QTest::newRow("Yes at a page switch, refused") << "switch" << false << QStringList{Question, refused};
    QTest::newRow("Yes at a page switch, aborted") << "switch" << true << QStringList{Question, aborted};
    QTest::newRow("Yes on closing, refused") << "close" << false << QStringList{Question, refused};
    QTest::newRow("Yes on closing, aborted") << "close" << true << QStringList{Question, aborted};
}

void tst_WndMainPages::applyStoppedPartWay()
{
    QFETCH(QString, start);
    QFETCH(bool, abort);
    QFETCH(QStringList, boxes);

    if (abort)
        QVERIFY(m_server->silence("name='b'", 1));
    else
        QVERIFY(m_server->refuse("name='b'", 113, 1));
    ctrl()->set(Statements, false);
    CtrlSignalLog log(*ctrl());
    DialogRecorder dialogs;
    dialogs.answer(Yes);
    const IndicatorAbort administrator;
    QPointer<WndMain> window = m_window;
    QTreeWidgetItem* current = m_window->getCurrentItem();

    if (start == QLatin1String("button"))
        m_window->getApplyButton()->click();
    else if (start == QLatin1String("switch"))
        choose("Status");
    else
        m_window->close();

    QCOMPARE(administrator.clicked(), abort);
    QCOMPARE(dialogs.messageTexts(), boxes);
    QCOMPARE(newJournal(), Statements.mid(0, 2));
    QCOMPARE(log.events, (QStringList{"before_apply", "carried_out(1)"}));
    QCOMPARE(log.carriedOut, Statements.mid(0, 1));
    QCOMPARE(m_server->rows("notes"), (QList<QStringList>{{"a", "one"}, {"b", "y"}, {"c", "z"}}));
    QTest::qWait(20);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    // The page stays on what is still pending.
    QCOMPARE(m_window->getCurrentItem(), current);
    QCOMPARE(m_window->getTree()->currentItem(), current);
    QVERIFY(!m_window->isReverting());
    QCOMPARE(ctrl()->m_pending, Statements.mid(1));
    QVERIFY(m_window->getApplyButton()->isEnabled());
    QVERIFY(m_window->getResetButton()->isEnabled());
}

void tst_WndMainPages::reset_data()
{
    QTest::addColumn<QStringList>("pending");
    QTest::newRow("three pending") << Statements;
    QTest::newRow("nothing pending") << QStringList();
}

void tst_WndMainPages::reset()
{
    QFETCH(QStringList, pending);

    QCOMPARE(m_window->getApplyButton()->text(), QStringLiteral("A&pply"));
    QCOMPARE(m_window->getResetButton()->text(), QStringLiteral("Re&set"));
    ctrl()->set(pending, false);
    m_window->getResetButton()->setEnabled(true);
    CtrlSignalLog log(*ctrl());

    m_window->getResetButton()->click();

    QCOMPARE(log.events, QStringList({"empty(true)", "reset"}));
    QVERIFY(ctrl()->m_pending.isEmpty());
    QCOMPARE(newJournal(), QStringList());
    QVERIFY(!m_window->getResetButton()->isEnabled());
}

// Apply and Reset follow the pending list, the statements a page hands over while it is
// built included, through every later edit, Apply and Reset.
void tst_WndMainPages::barFollowsWhatIsPending_data()
{
    QTest::addColumn<bool>("handsIn");
    QTest::addColumn<QString>("ending"); // "apply" or "reset"

    QTest::newRow("handed in while built, then applied") << true << "apply";
    QTest::newRow("handed in while built, then reset") << true << "reset";
    QTest::newRow("nothing handed in while built") << false << "apply";
}

void tst_WndMainPages::barFollowsWhatIsPending()
{
    QFETCH(bool, handsIn);
    QFETCH(QString, ending);
    const auto bar = [this] {
        return QList<bool>{m_window->getApplyButton()->isEnabled(),
                           m_window->getResetButton()->isEnabled()};
    };
    const QList<bool> enabled{true, true};
    const QList<bool> disabled{false, false};
    if (handsIn)
        QVERIFY(PageFactory::registerPage<HandingInPage>(PageKind::Scheduling));
    else
        QVERIFY(PageFactory::registerPage<StandardPage>(PageKind::Scheduling));

    choose("Configuration/Scheduling");
    QVERIFY(m_window->getButtonBar()->isVisible());
    QCOMPARE(ctrl()->m_pending, handsIn ? Statements.mid(0, 1) : QStringList());
    QCOMPARE(bar(), handsIn ? enabled : disabled);

    // A later edit of the page hands in its whole difference again.
    ctrl()->set(Statements.mid(0, 2), false);
    QCOMPARE(bar(), enabled);

    if (ending == QLatin1String("apply"))
        m_window->getApplyButton()->click();
    else
        m_window->getResetButton()->click();
    QVERIFY(ctrl()->m_pending.isEmpty());
    QCOMPARE(bar(), disabled);
    QCOMPARE(newJournal(), ending == QLatin1String("apply") ? Statements.mid(0, 2) : QStringList());
}

void tst_WndMainPages::navigationRowsActOnTheirOwnWindow()
{
    WndMain* second = m_console->open(m_server->port(), 0, "admin", testHandle(2));
    QVERIFY(second);
    choose("Domain Settings");
    ::choose(second, "Domain Settings");

    // The first window's row, while the second window is the one opened last.
    WndNavigation* firstPage = navigationPage(m_window);
    firstPage->m_list->setCurrentItem(firstPage->m_list->topLevelItem(2));
    firstPage->slotNavigate(nullptr);
    QTRY_COMPARE(m_window->getCurrentItem(), item("Domain Settings/Aliases"));
    QCOMPARE(second->getCurrentItem(), treeItem(second, "Domain Settings"));

    WndNavigation* secondPage = navigationPage(second);
    secondPage->m_list->setCurrentItem(secondPage->m_list->topLevelItem(0));
    secondPage->slotNavigate(nullptr);
    QTRY_COMPARE(second->getCurrentItem(), treeItem(second, "Domain Settings/Users"));
    QCOMPARE(m_window->getCurrentItem(), item("Domain Settings/Aliases"));
}

void tst_WndMainPages::pageLoadShowsTheWaitIndicator_data()
{
    QTest::addColumn<bool>("abort");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("answered late") << false << QStringList();
    // An abandoned wait is a refused statement, with no error text.
    QTest::newRow("aborted") << true << QStringList{"Query failed: "};
}

// The page is built into a container that is not in the pane yet: the indicator must
// still show, over the main window, and its Abort must end the wait.
void tst_WndMainPages::pageLoadShowsTheWaitIndicator()
{
    QFETCH(bool, abort);
    QFETCH(QStringList, boxes);
    const int answerDelayMs = abort ? 20000 : 900;
    QVERIFY(PageFactory::registerPage<LoadingPage>(PageKind::Services));
    QVERIFY(m_server->delay("from notes", answerDelayMs, 1));
    DialogRecorder dialogs;
    QString shownText;
    bool overMainWindow = false;
    QTimer administrator;
    connect(&administrator, &QTimer::timeout, this, [&] {
        for (WndProgress* panel : m_console->console()->findChildren<WndProgress*>()) {
            if (!panel->isVisible() || !shownText.isEmpty())
                continue;
            shownText = panel->findChild<QLabel*>(QStringLiteral("txtLabel"))->text();
            overMainWindow = m_window->isAncestorOf(panel);
            if (abort)
                QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("btnAbort")), Qt::LeftButton);
        }
    });
    administrator.start(20);

    QElapsedTimer clock;
    clock.start();
    choose("Configuration/Services");
    QCOMPARE(shownText, QStringLiteral("Transfering data ..."));
    QVERIFY(overMainWindow);
    auto* page = m_window->findChild<LoadingPage*>();
    QVERIFY(page);
    QCOMPARE(page->loaded, !abort);
    QCOMPARE(int(page->notes.m_rows.size()), abort ? 0 : 3);
    if (abort)
        QVERIFY2(clock.elapsed() < answerDelayMs / 2, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(dialogs.messageTexts(), boxes);
    QCOMPARE(m_window->getCurrentItem(), item("Configuration/Services"));
}

void tst_WndMainPages::treeChangeDuringASwitchIsTurnedBack()
{
    choose("Configuration");
    WndNavigation* page = navigationPage(m_window);
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    // The row's timer fires while the checklist waits for its title.
    QVERIFY(m_server->delay("productname", 300, 1));
    QSignalSpy treeChanges(m_window->getTree(), &QTreeWidget::currentItemChanged);
    page->slotNavigate(nullptr);

    choose("Quick Checklist");

    bool rowActed = false;
    for (const QList<QVariant>& change : treeChanges)
        rowActed |= change.at(0).value<QTreeWidgetItem*>() == item("Configuration/Services");
    QVERIFY2(rowActed, "the row did not act during the wait");
    QTreeWidgetItem* checklist = item("Quick Checklist");
    QCOMPARE(m_window->getCurrentItem(), checklist);
    QCOMPARE(m_window->getTree()->currentItem(), checklist);
    QCOMPARE(m_window->getTopCaption()->text(), QStringLiteral("Ornel Corvane 5.0"));
    QVERIFY(!m_window->isBusy());
    QTest::qWait(20);
    QCOMPARE(m_window->getCurrentItem(), checklist);
}

void tst_WndMainPages::applyDuringASwitchIsRefused()
{
    // While the checklist waits for its title, a timer hands a statement in and applies.
    QVERIFY(m_server->delay("productname", 300, 1));
    QTimer::singleShot(50, m_window, [this] {
        ctrl()->set({Statements.first()}, false);
        m_window->apply();
    });

    choose("Quick Checklist");

    QCOMPARE(m_window->getCurrentItem(), item("Quick Checklist"));
    QCOMPARE(ctrl()->m_pending, QStringList{Statements.first()});
    QVERIFY(!newJournal().contains(Statements.first()));
}

void tst_WndMainPages::resetDuringAnApplyIsRefused()
{
    QVERIFY(m_server->delay("^update", 150));
    ctrl()->set(Statements, false);
    CtrlSignalLog log(*ctrl());
    QTimer::singleShot(200, m_window, [this] { m_window->reset(); });

    m_window->apply();

    QCOMPARE(newJournal(), Statements);
    QCOMPARE(log.events, QStringList({"before_apply", "empty(true)", "apply"}));
}

void tst_WndMainPages::closeDuringASwitchWaitsForItsEnd()
{
    ctrl()->set(Statements, false);
    QPointer<WndMain> window = m_window;
    QStringList order;
    bool closedAtOnce = true;
    const Dialogs::MessageHook previous = Dialogs::setMessageHook(
        [&](const Dialogs::MessageRequest& request) {
            order << request.text;
            // A close asked for while the administrator is still being asked.
            closedAtOnce = window->close();
            order << QStringLiteral("current: ") + window->getCurrentItem()->text(0);
            return int(No);
        });

    choose("Status");
    QVERIFY(window);
    QVERIFY(!closedAtOnce);
    QCOMPARE(window->getCurrentItem(), item("Status"));
    QCOMPARE(order, QStringList({Question, "current: Ornel Corvane"}));

    // Once the switch is done the window closes, with nothing left to ask about.
    QTRY_VERIFY(window.isNull());
    QCOMPARE(order.size(), 2);
    Dialogs::setMessageHook(previous);
    QCOMPARE(newJournal(), QStringList());
}

void tst_WndMainPages::windowDestroyedDuringApply()
{
    // The host may tear a window down from a timer while an apply waits for the server:
    // the apply gives up without touching what went with the window.
    QVERIFY(m_server->delay("^update", 600, 1));
    ctrl()->set(Statements, false);
    QPointer<WndMain> window = m_window;
    QTimer::singleShot(200, m_window, [this] { delete m_window->parentWidget(); });

    QCOMPARE(applyPendingStatements(m_window, m_window->getConnection(), ctrl()),
             ApplyOutcome::Abandoned);
    QVERIFY(window.isNull());
    m_window = nullptr;
}

void tst_WndMainPages::closingSaveCutShort_data()
{
    QTest::addColumn<QString>("cut");    // what happens while the save waits for the server
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("the window destroyed") << "destroyed" << QStringList{Question};
    QTest::newRow("the connection dropped") << "dropped" << QStringList{Question, LostText};
}

// Yes to the closing prompt, and the save cut short as it waits for the server: the host tears
// the window down from a timer, or the connection drops. Either way the window goes, and
// nothing touches it once it has.
void tst_WndMainPages::closingSaveCutShort()
{
    QFETCH(QString, cut);
    QFETCH(QStringList, boxes);

    ctrl()->set(Statements, false);
    DialogRecorder dialogs;
    dialogs.answer(Yes);
    QPointer<WndMain> window = m_window;
    if (cut == QLatin1String("destroyed")) {
        QVERIFY(m_server->delay("^update", 600, 1));
        QTimer::singleShot(200, m_window, [this] { delete m_window->parentWidget(); });
    } else {
        QVERIFY(m_server->dropAt("^update", 1));
    }

    window->close();
    QCOMPARE(dialogs.messageTexts(), boxes);
    QTRY_VERIFY(window.isNull());
    m_window = nullptr;
}

QTEST_MAIN(tst_WndMainPages)
#include "tst_wndmainpages.moc"
