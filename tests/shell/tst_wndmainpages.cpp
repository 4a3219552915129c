// The main window's page switch, Apply and Reset against the stand-in server: the page
// table, the page every item opens, the unsaved-changes prompt and its answers, sending the
// pending statements, the navigation lists, and what happens to choices made while a switch
// or an apply waits.

#include "dialogrecorder.h"
#include "pendingapply.h"
#include "qnavigationitem.h"
#include "shellharness.h"
#include "unsavedprompt.h"
#include "wnddlglogo.h"
#include "wndnavigation.h"
#include "wndprogress.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

using namespace StandIn;
using Order = PageFactory::ArgumentOrder;

namespace {

enum class Pane { ProductPage, NavigationList, Checklist, RecordedPage, Empty };
enum PromptAnswer { Yes = 0, No = 1, Cancel = 2 };

const QString Caption = QStringLiteral("Ornel Corvane - 127.0.0.1");
const QString Question = QStringLiteral(
    "You have modified some data in the current view.\nSave changes on 127.0.0.1?");
const QString LostText = QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1.");

const QStringList Statements{
    "update notes set text='one' where name='a'",
    "update notes set text='two' where name='b'",
    "update notes set text='three' where name='c'",
};

QStringList rowTitles(const QTreeWidget* list)
{
    QStringList titles;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        titles.append(list->topLevelItem(i)->text(0));
    return titles;
}

WndNavigation* navigationPage(const WndMain* window)
{
    QWidget* pane = window->getCurrentPane();
    return pane ? pane->findChild<WndNavigation*>() : nullptr;
}

// A page with two of the orders, as a class serving two items could have.
class TwoConstructorPage : public QWidget
{
    Q_OBJECT

public:
    TwoConstructorPage(QWidget* parent, DBConn*, DBCtrl*, Desktop*, const char*, Qt::WindowFlags)
        : QWidget(parent)
    {
        setProperty("order", QStringLiteral("standard"));
    }
    TwoConstructorPage(QWidget* parent, DBConn*, DBCtrl*, const char*, Qt::WindowFlags, Desktop*)
        : QWidget(parent)
    {
        setProperty("order", QStringLiteral("desktop last"));
    }
};

} // namespace

Q_DECLARE_METATYPE(Pane)
Q_DECLARE_METATYPE(PageFactory::ArgumentOrder)
Q_DECLARE_METATYPE(UnsavedChangesAnswer)
Q_DECLARE_METATYPE(ApplyOutcome)

class tst_WndMainPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void prompt_data();
    void prompt();
    void pageTable();

    void everyItemOpensItsPage_data();
    void everyItemOpensItsPage();
    void pageWithoutRegistrationOpensAnEmptyPane();
    void choosingTheCurrentItemDoesNothing();

    void switchWithPendingStatements_data();
    void switchWithPendingStatements();
    void cancelAfterAMousePress();
    void lostConnectionDuringYes();

    void apply_data();
    void apply();
    void secondApplySendsOnlyWhatWasNotCarriedOut();
    void abortOnlyHidesTheIndicator();
    void reset_data();
    void reset();

    void navigationListsShowTheirRowsInOrder_data();
    void navigationListsShowTheirRowsInOrder();
    void navigationRowSwitchesOnlyFromTheEventLoop();
    void navigationRowsActOnTheirOwnWindow();

    void treeChangeDuringASwitchIsTurnedBack();
    void applyDuringASwitchIsRefused();
    void resetDuringAnApplyIsRefused();
    void closeDuringASwitchWaitsForItsEnd();

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
    QCOMPARE(m_window->getCurrentItem(), item("Ornel Corvane"));
    receivedArguments().clear();
    m_journalStart = m_server->journal().size();
}

void tst_WndMainPages::cleanup()
{
    m_console.reset();
    for (const PageFactory::PageSpec& page : PageFactory::pages())
        PageFactory::unregisterPage(page.kind);
    receivedArguments().clear();
}

void tst_WndMainPages::prompt_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("button");
    QTest::addColumn<UnsavedChangesAnswer>("answer");

    QTest::newRow("Yes") << "10.0.0.7" << 0 << UnsavedChangesAnswer::Save;
    QTest::newRow("No") << "10.0.0.7" << 1 << UnsavedChangesAnswer::Discard;
    QTest::newRow("Cancel") << "10.0.0.7" << 2 << UnsavedChangesAnswer::Keep;
    QTest::newRow("closed without a button") << "10.0.0.7" << -1 << UnsavedChangesAnswer::Keep;
    QTest::newRow("host with a percent sign") << "mail%1.example" << 2 << UnsavedChangesAnswer::Keep;
}

void tst_WndMainPages::prompt()
{
    QFETCH(QString, host);
    QFETCH(int, button);
    QFETCH(UnsavedChangesAnswer, answer);

    QWidget window;
    DialogRecorder dialogs;
    dialogs.answer(button);
    QCOMPARE(askToSaveChanges(&window, host), answer);

    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.parent.data(), &window);
    QCOMPARE(box.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(box.text, "You have modified some data in the current view.\nSave changes on " + host + "?");
    QCOMPARE(box.buttonTexts, QStringList({"&Yes", "&No", "&Cancel"}));
    QCOMPARE(box.defaultButton, int(Yes));
    QCOMPARE(box.escapeButton, int(Cancel));
}

void tst_WndMainPages::pageTable()
{
    // A class without the table's argument order for an item is refused, with the reason.
    QTest::ignoreMessage(QtWarningMsg,
                         "PageFactory: TwoConstructorPage cannot be the page \"SMTP Properties\": "
                         "it has no constructor (parent, conn, ctrl, name, flags)");
    QVERIFY(!PageFactory::registerPage<TwoConstructorPage>(PageKind::SmtpProperties));
    QTest::ignoreMessage(QtWarningMsg,
                         "PageFactory: TwoConstructorPage cannot be the page \"Antispam\": it has "
                         "no constructor (parent, conn, desktop, ctrl, name, flags)");
    QVERIFY(!PageFactory::registerPage<TwoConstructorPage>(PageKind::Antispam));
    QVERIFY(!PageFactory::isRegistered(PageKind::SmtpProperties));
    QWidget container;
    QVERIFY(!PageFactory::build(PageKind::SmtpProperties, &container, nullptr, nullptr, nullptr));

    // A class with several orders is built with each item's own.
    QVERIFY(PageFactory::registerPage<TwoConstructorPage>(PageKind::Users));
    QVERIFY(PageFactory::registerPage<TwoConstructorPage>(PageKind::TimeRanges));
    QWidget* users = PageFactory::build(PageKind::Users, &container, nullptr, nullptr, nullptr);
    QWidget* ranges = PageFactory::build(PageKind::TimeRanges, &container, nullptr, nullptr, nullptr);
    QVERIFY(users && ranges);
    QCOMPARE(users->property("order").toString(), QStringLiteral("standard"));
    QCOMPARE(ranges->property("order").toString(), QStringLiteral("desktop last"));

    // A later registration replaces the earlier; without one nothing is built.
    QVERIFY(PageFactory::registerPage<RecordingPage>(PageKind::Groups));
    QVERIFY(PageFactory::registerPage<TwoConstructorPage>(PageKind::Groups));
    QVERIFY(qobject_cast<TwoConstructorPage*>(
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
    other("Logs/smtp", Pane::Empty, "");
    other("Quick Checklist", Pane::Checklist, "Ornel Corvane 5.0");
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
    if (pane != Pane::ProductPage && pane != Pane::Empty)
        QCOMPARE(m_window->getTopCaption()->text(), caption);
    if (pane != Pane::RecordedPage)
        QVERIFY(receivedArguments().isEmpty());

    switch (pane) {
    case Pane::ProductPage:
        QVERIFY(qobject_cast<WndDlgLogo*>(shown));
        break;
    case Pane::Empty:
        QCOMPARE(QByteArray(shown->metaObject()->className()), QByteArray("QWidget"));
        QVERIFY(shown->children().isEmpty());
        break;
    case Pane::NavigationList:
        QVERIFY(navigationPage(m_window));
        QCOMPARE(navigationPage(m_window)->m_list->topLevelItemCount(),
                 chosen == item("Logs") ? 5 : chosen->childCount());
        break;
    case Pane::Checklist:
        QVERIFY(shown->findChild<QTextBrowser*>());
        break;
    case Pane::RecordedPage: {
        QCOMPARE(receivedArguments().size(), 1);
        const ReceivedArguments received = receivedArguments().first();
        QCOMPARE(received.order, order);
        QCOMPARE(received.parent, shown);
        QCOMPARE(received.conn, m_window->getConnection());
        QCOMPARE(received.ctrl, ctrl());
        QCOMPARE(received.desktop, order == Order::WithoutDesktop ? nullptr : m_console->desktop());
        QCOMPARE(received.nullName, !definitionPage);
        QCOMPARE(received.flags, Qt::WindowFlags());
        QCOMPARE(received.self->testAttribute(Qt::WA_DeleteOnClose), !definitionPage);
        // Below the header row, taking the room.
        auto* layout = qobject_cast<QBoxLayout*>(shown->layout());
        QVERIFY(layout);
        QCOMPARE(layout->indexOf(received.self), 1);
        QCOMPARE(layout->stretch(1), 1);
        break;
    }
    }
}

void tst_WndMainPages::pageWithoutRegistrationOpensAnEmptyPane()
{
    choose("Domain Settings/Users");
    QWidget* shown = m_window->getCurrentPane();
    QCOMPARE(m_window->getCurrentItem(), item("Domain Settings/Users"));
    QCOMPARE(QByteArray(shown->metaObject()->className()), QByteArray("QWidget"));
    QVERIFY(shown->children().isEmpty());
    QVERIFY(!m_window->getButtonBar()->isVisible());
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
    // The server carried the first out; the rest stays pending.
    QTest::newRow("Yes, second refused")
        << int(Yes) << false << "name='b'" << Statements.mid(0, 2) << QStringList{"before_apply"}
        << QStringList{Question, "Query failed: Access denied"} << true << Statements.mid(1);
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
    QCOMPARE(ctrl()->m_pending, pendingAfter);
    QTreeWidgetItem* current = item(switched ? "Domain Settings/Users" : "Status");
    QCOMPARE(m_window->getCurrentItem(), current);
    QCOMPARE(m_window->getTree()->currentItem(), current);
    QCOMPARE(receivedArguments().size(), switched ? 1 : 0);
    QCOMPARE(m_window->isReverting(), !switched);
    if (switched) {
        // The new page starts with the bar disabled, whatever is still pending.
        QVERIFY(!m_window->getApplyButton()->isEnabled());
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

    // The next choice of another item is turned back without asking ...
    choose("Domain Settings/Groups");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(tree->currentItem(), current);
    QCOMPARE(log.events, QStringList{"update_again"});

    // ... and the one after it asks again.
    dialogs.answer(Cancel);
    choose("Domain Settings/Groups");
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(log.events, QStringList({"update_again", "update_again"}));
}

void tst_WndMainPages::lostConnectionDuringYes()
{
    QVERIFY(m_server->dropAt("name='a'", 1));
    ctrl()->set(Statements, false);
    CtrlSignalLog log(*ctrl());
    DialogRecorder dialogs;
    dialogs.answer(Yes);

    choose("Status");

    QCOMPARE(dialogs.messageTexts(), QStringList({Question, LostText}));
    QCOMPARE(dialogs.messages.at(1).icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages.at(1).parent.data(), m_window);
    QCOMPARE(m_window->windowTitle(), Caption + " - NOT CONNECTED!");
    QCOMPARE(m_window->getCurrentItem(), item("Status"));
    QCOMPARE(ctrl()->m_pending, Statements);

    // From now on the tree follows the choices and nothing else happens.
    QWidget* shown = m_window->getCurrentPane();
    for (const char* path : {"Domain Settings/Users", "Quick Checklist", "Logs"}) {
        choose(path);
        QCOMPARE(m_window->getTree()->currentItem(), item(path));
        QCOMPARE(m_window->getCurrentItem(), item("Status"));
        QCOMPARE(m_window->getCurrentPane(), shown);
    }
    // Nor does an apply say anything more.
    m_window->apply();
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(m_window->windowTitle(), Caption + " - NOT CONNECTED!");
    QCOMPARE(ctrl()->m_pending, Statements);
    QCOMPARE(log.events, QStringList({"before_apply", "before_apply"}));
}

void tst_WndMainPages::apply_data()
{
    QTest::addColumn<QString>("failAt"); // the statement the server refuses or drops at
    QTest::addColumn<int>("status");     // its refusal; 0: the connection drops there
    QTest::addColumn<bool>("withdraw");  // a page empties the list when asked to check it
    QTest::addColumn<ApplyOutcome>("outcome");
    QTest::addColumn<int>("carriedOut");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("box");

    const QStringList before{"before_apply"};
    QTest::newRow("all accepted") << QString() << 0 << false << ApplyOutcome::Applied << 3
                                  << QStringList{"before_apply", "empty(true)", "apply"} << QString();
    QTest::newRow("withdrawn by a page") << QString() << 0 << true << ApplyOutcome::Withdrawn << 0
                                         << before << QString();
    QTest::newRow("second denied") << "name='b'" << 113 << false << ApplyOutcome::Refused << 1
                                   << before << "Query failed: Access denied";
    QTest::newRow("first unparsable") << "name='a'" << 106 << false << ApplyOutcome::Refused << 0
                                      << before << "Query failed: SQL query parse error";
    QTest::newRow("last without table") << "name='c'" << 109 << false << ApplyOutcome::Refused << 2
                                        << before << "Query failed: Table does not exists";
    QTest::newRow("dropped on the first") << "name='a'" << 0 << false << ApplyOutcome::ConnectionLost
                                          << 0 << before << LostText;
    QTest::newRow("dropped on the second") << "name='b'" << 0 << false << ApplyOutcome::ConnectionLost
                                           << 1 << before << LostText;
}

void tst_WndMainPages::apply()
{
    QFETCH(QString, failAt);
    QFETCH(int, status);
    QFETCH(bool, withdraw);
    QFETCH(ApplyOutcome, outcome);
    QFETCH(int, carriedOut);
    QFETCH(QStringList, events);
    QFETCH(QString, box);

    const bool drop = !failAt.isEmpty() && status == 0;
    if (drop)
        QVERIFY(m_server->dropAt(failAt, 1));
    else if (!failAt.isEmpty())
        QVERIFY(m_server->refuse(failAt, quint32(status)));
    ctrl()->set(Statements, false);
    QObject page;
    if (withdraw)
        connect(ctrl(), &DBCtrl::sig_before_apply, &page, [this] { ctrl()->m_pending.clear(); });
    CtrlSignalLog log(*ctrl());
    DialogRecorder dialogs;

    QCOMPARE(applyPendingStatements(m_window, m_window->getConnection(), ctrl()), outcome);

    // One at a time in order, up to the first failure; what the server carried out is done.
    if (!drop)
        QCOMPARE(newJournal(), withdraw ? QStringList() : Statements.mid(0, carriedOut + !box.isEmpty()));
    QCOMPARE(ctrl()->m_pending, withdraw ? QStringList() : Statements.mid(carriedOut));
    QCOMPARE(log.events, events);
    if (events.contains("apply"))
        QCOMPARE(log.pendingAtApply, QStringList());
    QCOMPARE(dialogs.messageTexts(), box.isEmpty() ? QStringList() : QStringList{box});
    if (!box.isEmpty()) {
        const DialogRecorder::Message& shown = dialogs.messages.first();
        QCOMPARE(shown.icon, drop ? QMessageBox::Critical : QMessageBox::Warning);
        QCOMPARE(shown.parent.data(), m_window);
        QCOMPARE(shown.caption, QStringLiteral("Ornel Corvane Administration"));
    }
    QCOMPARE(m_window->getConnection()->m_lost, drop);
    QCOMPARE(m_window->windowTitle(), drop ? Caption + " - NOT CONNECTED!" : Caption);
}

void tst_WndMainPages::secondApplySendsOnlyWhatWasNotCarriedOut()
{
    QVERIFY(m_server->refuse("name='b'", 113, 1));
    ctrl()->set(Statements, false);
    DialogRecorder dialogs;
    m_window->getApplyButton()->click();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(m_window->getApplyButton()->isEnabled());

    m_journalStart = m_server->journal().size();
    CtrlSignalLog log(*ctrl());
    m_window->getApplyButton()->click();
    QCOMPARE(newJournal(), Statements.mid(1));
    QCOMPARE(log.events, QStringList({"before_apply", "empty(true)", "apply"}));
    QStringList texts;
    for (const QStringList& row : m_server->rows("notes"))
        texts.append(row.value(1));
    QCOMPARE(texts, QStringList({"one", "two", "three"}));
    QVERIFY(!m_window->getApplyButton()->isEnabled());
    QVERIFY(!m_window->getResetButton()->isEnabled());
}

void tst_WndMainPages::abortOnlyHidesTheIndicator()
{
    // Slow enough for the indicator to show itself during the second statement.
    QVERIFY(m_server->delay("^update", 250));
    ctrl()->set(Statements, false);
    bool aborted = false;
    QTimer aborter;
    connect(&aborter, &QTimer::timeout, this, [&] {
        auto* progress = m_window->findChild<WndProgress*>();
        if (progress && progress->isVisible() && !aborted) {
            progress->findChild<QPushButton*>()->click();
            aborted = true;
        }
    });
    aborter.start(10);

    m_window->apply();
    QVERIFY(aborted);
    QCOMPARE(newJournal(), Statements);
    QVERIFY(ctrl()->m_pending.isEmpty());
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

void tst_WndMainPages::navigationListsShowTheirRowsInOrder_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("iconSource");

    QTest::newRow("Configuration")
        << "Configuration"
        << QStringList{"Services", "Domains", "SMTP Properties", "Antivirus", "Antispam",
                       "Backup", "Internet Connection", "Scheduling", "POP3 Download",
                       "ETRN Download", "Remote Administration", "Advanced Options",
                       "Definitions"}
        << "Configuration";
    QTest::newRow("Definitions") << "Configuration/Definitions"
                                 << QStringList{"Time Ranges", "IP Address Groups", "User Templates"}
                                 << "Configuration";
    QTest::newRow("Domain Settings") << "Domain Settings" << QStringList{"Users", "Groups", "Aliases"}
                                     << "Domain Settings";
    QTest::newRow("Status") << "Status" << QStringList{"Mail Queue", "Connections"} << "Status";
    QTest::newRow("Logs") << "Logs" << QStringList{"smtp", "pop3", "imap", "admin", "debug"} << "Logs";
}

void tst_WndMainPages::navigationListsShowTheirRowsInOrder()
{
    QFETCH(QString, group);
    QFETCH(QStringList, rows);
    QFETCH(QString, iconSource);

    choose(group);
    WndNavigation* page = navigationPage(m_window);
    QVERIFY(page);
    QCOMPARE(rowTitles(page->m_list), rows);

    // Each row targets this window's item of the same title, and shows the tree's icon of
    // the list's kind.
    const QImage icon = item(iconSource)->icon(0).pixmap(16, 16).toImage();
    for (int i = 0; i < rows.size(); ++i) {
        auto* row = static_cast<QNavigationItem*>(page->m_list->topLevelItem(i));
        QCOMPARE(row->target(), item(group + '/' + rows.at(i)));
        QCOMPARE(row->icon(0).pixmap(16, 16).toImage(), icon);
    }
}

void tst_WndMainPages::navigationRowSwitchesOnlyFromTheEventLoop()
{
    choose("Configuration");
    QPointer<WndNavigation> page = navigationPage(m_window);
    QVERIFY(page);
    page->m_list->setCurrentItem(page->m_list->topLevelItem(12));
    page->m_list->setFocus();

    QTest::keyClick(page->m_list, Qt::Key_Return);
    QCOMPARE(m_window->getCurrentItem(), item("Configuration"));
    QVERIFY(page);

    QTRY_COMPARE(m_window->getCurrentItem(), item("Configuration/Definitions"));
    QTRY_VERIFY(page.isNull());
    // The row's target is itself a list.
    QCOMPARE(rowTitles(navigationPage(m_window)->m_list),
             QStringList({"Time Ranges", "IP Address Groups", "User Templates"}));
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

QTEST_MAIN(tst_WndMainPages)
#include "tst_wndmainpages.moc"
