// The main window's page switch against the stand-in server: the page every item opens,
// the unsaved-changes prompt and its answers, the navigation lists, and what happens to
// choices made while a switch is waiting.

#include "ctrlsignallog.h"
#include "dialogrecorder.h"
#include "mainwindowharness.h"
#include "qnavigationitem.h"
#include "recordingpages.h"
#include "standinconnection.h"
#include "wnddlglogo.h"
#include "wndnavigation.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

using namespace StandIn;
using Order = PageFactory::ArgumentOrder;

namespace {

enum class Pane { ProductPage, NavigationList, Checklist, RecordedPage, Empty };

const QString Host = QStringLiteral("127.0.0.1");
const QString Caption = QStringLiteral("Ornel Corvane - 127.0.0.1");
const QString Question = QStringLiteral(
    "You have modified some data in the current view.\nSave changes on 127.0.0.1?");

const QStringList Statements{
    "update notes set text='one' where name='a'",
    "update notes set text='two' where name='b'",
    "update notes set text='three' where name='c'",
};

enum PromptAnswer { Yes = 0, No = 1, Cancel = 2 };

QStringList rowTitles(const QTreeWidget* list)
{
    QStringList titles;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        titles.append(list->topLevelItem(i)->text(0));
    return titles;
}

WndNavigation* navigationPage(const MainWindowHarness& main)
{
    QWidget* pane = main->getCurrentPane();
    return pane ? pane->findChild<WndNavigation*>() : nullptr;
}

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

    void everyItemOpensItsPage_data();
    void everyItemOpensItsPage();
    void pageWithoutRegistrationOpensAnEmptyPane_data();
    void pageWithoutRegistrationOpensAnEmptyPane();
    void choosingTheCurrentItemDoesNothing();

    void promptAsksAboutTheServer();
    void noDropsThePendingStatementsSilently();
    void cancelTurnsTheTreeBack_data();
    void cancelTurnsTheTreeBack();
    void yesWithAWithdrawingPageSendsNothing();
    void yesAppliesBeforeTheNewPageIsBuilt();
    void yesWithARefusedStatementStillSwitches();
    void lostConnectionDuringYes();

    void navigationListsShowTheirRowsInOrder_data();
    void navigationListsShowTheirRowsInOrder();
    void navigationRowSwitchesOnlyFromTheEventLoop();
    void navigationRowsActOnTheirOwnWindow();

    void treeChangeDuringASwitchIsTurnedBack();
    void closeDuringASwitchWaitsForItsEnd();

private:
    QStringList newJournal() const;

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<MainWindowHarness> m_main;
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
    m_main = std::make_unique<MainWindowHarness>(m_server->port());
    QVERIFY(m_main->isOpen());
    QVERIFY(QTest::qWaitForWindowExposed(m_main->window()));
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Ornel Corvane"));
    receivedArguments().clear();
    m_journalStart = m_server->journal().size();
}

void tst_WndMainPages::cleanup()
{
    m_main.reset();
}

QStringList tst_WndMainPages::newJournal() const
{
    QStringList statements;
    const QList<JournalEntry> entries = m_server->journal();
    for (int i = m_journalStart; i < entries.size(); ++i)
        statements.append(entries.at(i).statement);
    return statements;
}

void tst_WndMainPages::everyItemOpensItsPage_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Pane>("pane");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<Order>("order");
    QTest::addColumn<bool>("emptyName");
    QTest::addColumn<bool>("deleteOnClose");

    const auto page = [](const char* path, const char* title, Order order, bool bar = true) {
        QTest::newRow(path) << QString::fromLatin1(path) << Pane::RecordedPage
                            << QString::fromLatin1(title) << bar << order << false << true;
    };
    const auto other = [](const char* path, Pane pane, const char* caption) {
        QTest::newRow(path) << QString::fromLatin1(path) << pane << QString::fromLatin1(caption)
                            << false << Order::Standard << false << true;
    };

    other("Ornel Corvane", Pane::ProductPage, "");
    other("Configuration", Pane::NavigationList, "Configuration");
    page("Configuration/Services", "Services", Order::Standard);
    page("Configuration/Domains", "Domains", Order::Standard);
    page("Configuration/SMTP Properties", "SMTP Properties", Order::WithoutDesktop);
    page("Configuration/Antivirus", "Antivirus", Order::Standard);
    page("Configuration/Antispam", "Antispam", Order::DesktopBeforeCtrl);
    page("Configuration/Backup", "Backup", Order::WithoutDesktop);
    page("Configuration/Internet Connection", "Internet Connection", Order::WithoutDesktop);
    page("Configuration/Scheduling", "Scheduling", Order::Standard);
    page("Configuration/POP3 Download", "POP3 Download", Order::Standard);
    page("Configuration/ETRN Download", "ETRN Download", Order::Standard);
    page("Configuration/Remote Administration", "Remote Administration", Order::Standard);
    page("Configuration/Advanced Options", "Advanced Options", Order::Standard);
    other("Configuration/Definitions", Pane::NavigationList, "Definitions");
    for (const char* path : {"Configuration/Definitions/Time Ranges",
                             "Configuration/Definitions/IP Address Groups"}) {
        QTest::newRow(path) << QString::fromLatin1(path) << Pane::RecordedPage
                            << QString::fromLatin1(path).section('/', -1) << true
                            << Order::DesktopLast << true << false;
    }
    page("Configuration/Definitions/User Templates", "User Templates", Order::Standard);
    other("Domain Settings", Pane::NavigationList, "Domain Settings");
    page("Domain Settings/Users", "Users", Order::Standard);
    page("Domain Settings/Groups", "Groups", Order::Standard);
    page("Domain Settings/Aliases", "Aliases", Order::Standard);
    other("Status", Pane::NavigationList, "Status");
    page("Status/Mail Queue", "Mail Queue", Order::Standard, false);
    page("Status/Connections", "Connections", Order::Standard, false);
    other("Logs", Pane::NavigationList, "Logs");
    other("Logs/smtp", Pane::Empty, "");
    other("Logs/debug", Pane::Empty, "");
    other("Quick Checklist", Pane::Checklist, "Ornel Corvane 5.0");
}

void tst_WndMainPages::everyItemOpensItsPage()
{
    QFETCH(QString, path);
    QFETCH(Pane, pane);
    QFETCH(QString, caption);
    QFETCH(bool, bar);
    QFETCH(Order, order);
    QFETCH(bool, emptyName);
    QFETCH(bool, deleteOnClose);

    RecordingPagesRegistered standIns;
    DialogRecorder dialogs;
    WndMain* window = m_main->window();
    if (path == QLatin1String("Ornel Corvane"))
        m_main->choose("Status");
    // The bar starts disabled whatever state the buttons were left in.
    window->getApplyButton()->setEnabled(true);
    window->getResetButton()->setEnabled(true);
    receivedArguments().clear();

    QTreeWidgetItem* item = m_main->item(path);
    QVERIFY(item);
    m_main->tree()->setCurrentItem(item);

    QCOMPARE(window->getCurrentItem(), item);
    QVERIFY(dialogs.messages.isEmpty());
    QWidget* shown = window->getCurrentPane();
    QVERIFY(shown);
    QCOMPARE(shown->parentWidget(), window->getRightPane());
    QVERIFY(shown->isVisible());
    QCOMPARE(window->getButtonBar()->isVisible(), bar);
    if (bar) {
        QVERIFY(!window->getApplyButton()->isEnabled());
        QVERIFY(!window->getResetButton()->isEnabled());
    }

    const bool inContainer = pane != Pane::ProductPage && pane != Pane::Empty;
    QCOMPARE(!shown->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).isEmpty()
                 || shown->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly) != nullptr,
             pane != Pane::Empty);
    if (inContainer)
        QCOMPARE(window->getTopCaption()->text(), caption);

    switch (pane) {
    case Pane::ProductPage:
        QVERIFY(qobject_cast<WndDlgLogo*>(shown));
        QVERIFY(shown->testAttribute(Qt::WA_DeleteOnClose));
        break;
    case Pane::Empty:
        QCOMPARE(QByteArray(shown->metaObject()->className()), QByteArray("QWidget"));
        QVERIFY(shown->children().isEmpty());
        QVERIFY(shown->objectName().isEmpty());
        break;
    case Pane::NavigationList: {
        WndNavigation* list = navigationPage(*m_main);
        QVERIFY(list);
        QCOMPARE(list->parentWidget(), shown);
        QVERIFY(list->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(list->m_list->topLevelItemCount(),
                 item == m_main->item("Logs") ? 5 : item->childCount());
        break;
    }
    case Pane::Checklist:
        QVERIFY(shown->findChild<QTextBrowser*>());
        break;
    case Pane::RecordedPage: {
        QCOMPARE(receivedArguments().size(), 1);
        const ReceivedArguments received = receivedArguments().first();
        QCOMPARE(received.order, order);
        QCOMPARE(received.parent, shown);
        QCOMPARE(received.conn, m_main->conn());
        QCOMPARE(received.ctrl, m_main->ctrl());
        QCOMPARE(received.desktop, order == Order::WithoutDesktop ? nullptr : m_main->desktop());
        QCOMPARE(received.nullName, !emptyName);
        QCOMPARE(received.flags, Qt::WindowFlags());
        QCOMPARE(received.self->testAttribute(Qt::WA_DeleteOnClose), deleteOnClose);
        // Below the header row, taking the room.
        auto* layout = qobject_cast<QBoxLayout*>(shown->layout());
        QVERIFY(layout);
        QCOMPARE(layout->indexOf(received.self), 1);
        QCOMPARE(layout->stretch(1), 1);
        break;
    }
    }
    if (pane != Pane::RecordedPage)
        QVERIFY(receivedArguments().isEmpty());
}

void tst_WndMainPages::pageWithoutRegistrationOpensAnEmptyPane_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("Users") << "Domain Settings/Users";
    QTest::newRow("SMTP Properties") << "Configuration/SMTP Properties";
    QTest::newRow("Time Ranges") << "Configuration/Definitions/Time Ranges";
    QTest::newRow("Mail Queue") << "Status/Mail Queue";
}

void tst_WndMainPages::pageWithoutRegistrationOpensAnEmptyPane()
{
    QFETCH(QString, path);

    m_main->choose(path);
    QWidget* shown = m_main->window()->getCurrentPane();
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item(path));
    QCOMPARE(QByteArray(shown->metaObject()->className()), QByteArray("QWidget"));
    QCOMPARE(shown->parentWidget(), m_main->window()->getRightPane());
    QVERIFY(shown->children().isEmpty());
    QVERIFY(!m_main->window()->getButtonBar()->isVisible());
}

void tst_WndMainPages::choosingTheCurrentItemDoesNothing()
{
    m_main->choose("Domain Settings");
    QWidget* shown = m_main->window()->getCurrentPane();
    m_main->ctrl()->set(QStringList{Statements.first()}, false);
    DialogRecorder dialogs;
    CtrlSignalLog log(*m_main->ctrl());

    m_main->window()->select(m_main->item("Domain Settings"));
    m_main->choose("Domain Settings");

    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(m_main->window()->getCurrentPane(), shown);
    QCOMPARE(m_main->ctrl()->m_pending, QStringList{Statements.first()});
    QVERIFY(log.events.isEmpty());
}

void tst_WndMainPages::promptAsksAboutTheServer()
{
    m_main->ctrl()->set(QStringList{Statements.first()}, false);
    DialogRecorder dialogs;
    dialogs.answer(Cancel);

    m_main->choose("Status");

    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.parent.data(), m_main->window());
    QCOMPARE(box.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(box.text, Question);
    QCOMPARE(box.buttonTexts, QStringList({"&Yes", "&No", "&Cancel"}));
    QCOMPARE(box.defaultButton, int(Yes));
    QCOMPARE(box.escapeButton, int(Cancel));
}

void tst_WndMainPages::noDropsThePendingStatementsSilently()
{
    RecordingPagesRegistered standIns;
    m_main->ctrl()->set(Statements, false);
    CtrlSignalLog log(*m_main->ctrl());
    DialogRecorder dialogs;
    dialogs.answer(No);

    m_main->choose("Domain Settings/Users");

    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(m_main->ctrl()->m_pending.isEmpty());
    QVERIFY(log.events.isEmpty());
    QCOMPARE(newJournal(), QStringList());
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Domain Settings/Users"));
    QCOMPARE(receivedArguments().size(), 1);
    QVERIFY(m_main->window()->getButtonBar()->isVisible());
    QVERIFY(!m_main->window()->getApplyButton()->isEnabled());
    QVERIFY(!m_main->window()->getResetButton()->isEnabled());
}

void tst_WndMainPages::cancelTurnsTheTreeBack_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("tree changed by the program") << false;
    QTest::newRow("mouse press on the item") << true;
}

void tst_WndMainPages::cancelTurnsTheTreeBack()
{
    QFETCH(bool, byMouse);

    m_main->choose("Domain Settings");
    QTreeWidgetItem* current = m_main->item("Domain Settings");
    QWidget* shown = m_main->window()->getCurrentPane();
    m_main->ctrl()->set(Statements, false);
    CtrlSignalLog log(*m_main->ctrl());
    DialogRecorder dialogs;
    dialogs.answer(Cancel);

    QTreeWidgetItem* users = m_main->item("Domain Settings/Users");
    if (byMouse) {
        QTest::mouseClick(m_main->tree()->viewport(), Qt::LeftButton, {},
                          m_main->tree()->visualItemRect(users).center());
    } else {
        m_main->tree()->setCurrentItem(users);
    }

    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(m_main->tree()->currentItem(), current);
    QTRY_COMPARE(m_main->tree()->selectedItems(), QList<QTreeWidgetItem*>{current});
    QCOMPARE(m_main->window()->getCurrentItem(), current);
    QCOMPARE(m_main->window()->getCurrentPane(), shown);
    QCOMPARE(m_main->ctrl()->m_pending, Statements);
    QCOMPARE(log.events, QStringList{"update_again"});
    QVERIFY(m_main->window()->isReverting());
    QCOMPARE(newJournal(), QStringList());

    // The next choice of another item is turned back without asking ...
    m_main->choose("Domain Settings/Groups");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(m_main->tree()->currentItem(), current);
    QCOMPARE(m_main->window()->getCurrentPane(), shown);
    QVERIFY(!m_main->window()->isReverting());
    QCOMPARE(log.events, QStringList{"update_again"});

    // ... and the one after it asks again.
    dialogs.answer(Cancel);
    m_main->choose("Domain Settings/Groups");
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(log.events, QStringList({"update_again", "update_again"}));
}

void tst_WndMainPages::yesWithAWithdrawingPageSendsNothing()
{
    RecordingPagesRegistered standIns;
    m_main->choose("Status");
    QWidget* shown = m_main->window()->getCurrentPane();
    m_main->ctrl()->set(Statements, false);
    QObject page;
    // As a page whose input check the administrator chose to correct.
    connect(m_main->ctrl(), &DBCtrl::sig_before_apply, &page,
            [this] { m_main->ctrl()->m_pending.clear(); });
    CtrlSignalLog log(*m_main->ctrl());
    DialogRecorder dialogs;
    dialogs.answer(Yes);

    m_main->choose("Domain Settings/Users");

    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(newJournal(), QStringList());
    QCOMPARE(log.events, QStringList({"before_apply", "update_again"}));
    QCOMPARE(m_main->tree()->currentItem(), m_main->item("Status"));
    QCOMPARE(m_main->window()->getCurrentPane(), shown);
    QVERIFY(receivedArguments().isEmpty());
    QVERIFY(m_main->window()->isReverting());
}

void tst_WndMainPages::yesAppliesBeforeTheNewPageIsBuilt()
{
    RecordingPagesRegistered standIns;
    m_main->ctrl()->set(Statements, false);
    CtrlSignalLog log(*m_main->ctrl());
    qsizetype pagesBuiltAtApply = -1;
    QObject page;
    connect(m_main->ctrl(), &DBCtrl::sig_apply, &page,
            [&] { pagesBuiltAtApply = receivedArguments().size(); });
    DialogRecorder dialogs;
    dialogs.answer(Yes);

    m_main->choose("Domain Settings/Groups");

    QCOMPARE(newJournal(), Statements);
    QCOMPARE(log.events, QStringList({"before_apply", "empty(true)", "apply"}));
    QCOMPARE(pagesBuiltAtApply, 0);
    QCOMPARE(receivedArguments().size(), 1);
    QVERIFY(m_main->ctrl()->m_pending.isEmpty());
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Domain Settings/Groups"));
    QCOMPARE(dialogs.messages.size(), 1);
}

void tst_WndMainPages::yesWithARefusedStatementStillSwitches()
{
    RecordingPagesRegistered standIns;
    QVERIFY(m_server->refuse("name='b'", 113));
    m_main->ctrl()->set(Statements, false);
    CtrlSignalLog log(*m_main->ctrl());
    DialogRecorder dialogs;
    dialogs.answer(Yes);

    m_main->choose("Configuration/Antispam");

    QCOMPARE(newJournal(), Statements.mid(0, 2));
    QCOMPARE(dialogs.messageTexts(), QStringList({Question, "Query failed: Access denied"}));
    QCOMPARE(m_main->ctrl()->m_pending, Statements.mid(1));
    QCOMPARE(log.events, QStringList{"before_apply"});
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Configuration/Antispam"));
    QCOMPARE(receivedArguments().size(), 1);
    // The new page's bar starts disabled, though statements are still pending.
    QVERIFY(!m_main->window()->getApplyButton()->isEnabled());
    QVERIFY(!m_main->window()->isReverting());

    // The next switch asks again, and sends only what the server has not carried out.
    m_server->clearControls();
    m_journalStart = m_server->journal().size();
    dialogs.answer(Yes);
    m_main->choose("Configuration/Backup");
    QCOMPARE(dialogs.messages.size(), 3);
    QCOMPARE(newJournal(), Statements.mid(1));
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Configuration/Backup"));
}

void tst_WndMainPages::lostConnectionDuringYes()
{
    QVERIFY(m_server->dropAt("name='a'", 1));
    m_main->ctrl()->set(Statements, false);
    CtrlSignalLog log(*m_main->ctrl());
    DialogRecorder dialogs;
    dialogs.answer(Yes);

    m_main->choose("Status");

    QCOMPARE(dialogs.messages.size(), 2);
    const DialogRecorder::Message& box = dialogs.messages.at(1);
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.parent.data(), m_main->window());
    QCOMPARE(box.text, QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1."));
    QCOMPARE(m_main->window()->windowTitle(), Caption + " - NOT CONNECTED!");
    QVERIFY(m_main->conn()->m_lost);
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Status"));
    QCOMPARE(m_main->ctrl()->m_pending, Statements);
    QCOMPARE(log.events, QStringList{"before_apply"});

    // From now on the tree follows the choices and nothing else happens.
    QWidget* shown = m_main->window()->getCurrentPane();
    for (const char* path : {"Domain Settings/Users", "Quick Checklist", "Logs"}) {
        m_main->choose(path);
        QCOMPARE(m_main->tree()->currentItem(), m_main->item(path));
        QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Status"));
        QCOMPARE(m_main->window()->getCurrentPane(), shown);
    }
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(m_main->window()->windowTitle(), Caption + " - NOT CONNECTED!");
    QCOMPARE(m_main->ctrl()->m_pending, Statements);
    QCOMPARE(log.events, QStringList{"before_apply"});
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
    QTest::newRow("Domain Settings") << "Domain Settings"
                                     << QStringList{"Users", "Groups", "Aliases"}
                                     << "Domain Settings";
    QTest::newRow("Status") << "Status" << QStringList{"Mail Queue", "Connections"} << "Status";
    QTest::newRow("Logs") << "Logs" << QStringList{"smtp", "pop3", "imap", "admin", "debug"}
                          << "Logs";
}

void tst_WndMainPages::navigationListsShowTheirRowsInOrder()
{
    QFETCH(QString, group);
    QFETCH(QStringList, rows);
    QFETCH(QString, iconSource);

    m_main->choose(group);
    WndNavigation* page = navigationPage(*m_main);
    QVERIFY(page);
    QVERIFY(page->m_list->isHeaderHidden());
    QCOMPARE(rowTitles(page->m_list), rows);

    // Each row targets this window's item of the same title, and shows the tree's icon
    // of the list's kind.
    const QImage icon = m_main->item(iconSource)->icon(0).pixmap(16, 16).toImage();
    for (int i = 0; i < rows.size(); ++i) {
        auto* row = static_cast<QNavigationItem*>(page->m_list->topLevelItem(i));
        QCOMPARE(row->target(), m_main->item(group + '/' + rows.at(i)));
        QCOMPARE(row->text(1), QString());
        QCOMPARE(row->icon(0).pixmap(16, 16).toImage(), icon);
    }
}

void tst_WndMainPages::navigationRowSwitchesOnlyFromTheEventLoop()
{
    m_main->choose("Configuration");
    QPointer<WndNavigation> page = navigationPage(*m_main);
    QVERIFY(page);
    page->m_list->setCurrentItem(page->m_list->topLevelItem(12));
    page->m_list->setFocus();

    QTest::keyClick(page->m_list, Qt::Key_Return);
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Configuration"));
    QVERIFY(page);

    QTRY_COMPARE(m_main->window()->getCurrentItem(), m_main->item("Configuration/Definitions"));
    QCOMPARE(m_main->tree()->currentItem(), m_main->item("Configuration/Definitions"));
    QTRY_VERIFY(page.isNull());
    // The row's target is itself a list.
    QVERIFY(navigationPage(*m_main));
    QCOMPARE(rowTitles(navigationPage(*m_main)->m_list),
             QStringList({"Time Ranges", "IP Address Groups", "User Templates"}));
}

void tst_WndMainPages::navigationRowsActOnTheirOwnWindow()
{
    MainWindowHarness second(m_server->port(), m_main->desktop());
    QVERIFY(second.isOpen());
    m_main->choose("Domain Settings");
    second.choose("Domain Settings");

    // The first window's row, while the second window is the one opened last.
    WndNavigation* firstPage = navigationPage(*m_main);
    firstPage->m_list->setCurrentItem(firstPage->m_list->topLevelItem(2));
    firstPage->slotNavigate(nullptr);
    QTRY_COMPARE(m_main->window()->getCurrentItem(), m_main->item("Domain Settings/Aliases"));
    QCOMPARE(second->getCurrentItem(), second.item("Domain Settings"));

    WndNavigation* secondPage = navigationPage(second);
    secondPage->m_list->setCurrentItem(secondPage->m_list->topLevelItem(0));
    secondPage->slotNavigate(nullptr);
    QTRY_COMPARE(second->getCurrentItem(), second.item("Domain Settings/Users"));
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Domain Settings/Aliases"));
}

void tst_WndMainPages::treeChangeDuringASwitchIsTurnedBack()
{
    m_main->choose("Configuration");
    WndNavigation* page = navigationPage(*m_main);
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    // The row's timer fires while the checklist waits for its title.
    QVERIFY(m_server->delay("productname", 300, 1));
    QSignalSpy treeChanges(m_main->tree(), &QTreeWidget::currentItemChanged);
    page->slotNavigate(nullptr);

    m_main->choose("Quick Checklist");

    const QList<QTreeWidgetItem*> reported = [&] {
        QList<QTreeWidgetItem*> items;
        for (const QList<QVariant>& change : treeChanges)
            items.append(change.at(0).value<QTreeWidgetItem*>());
        return items;
    }();
    QVERIFY2(reported.contains(m_main->item("Configuration/Services")),
             "the row did not act during the wait");
    QTreeWidgetItem* checklist = m_main->item("Quick Checklist");
    QCOMPARE(m_main->window()->getCurrentItem(), checklist);
    QCOMPARE(m_main->tree()->currentItem(), checklist);
    QVERIFY(m_main->window()->getCurrentPane()->findChild<QTextBrowser*>());
    QCOMPARE(m_main->window()->getTopCaption()->text(), QStringLiteral("Ornel Corvane 5.0"));
    QVERIFY(!m_main->window()->isBusy());
    QTest::qWait(20);
    QCOMPARE(m_main->window()->getCurrentItem(), checklist);
}

void tst_WndMainPages::closeDuringASwitchWaitsForItsEnd()
{
    m_main->ctrl()->set(Statements, false);
    QPointer<WndMain> window = m_main->window();
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

    m_main->choose("Status");
    QVERIFY(window);
    QVERIFY(!closedAtOnce);
    QCOMPARE(window->getCurrentItem(), m_main->item("Status"));
    QCOMPARE(order, QStringList({Question, "current: Ornel Corvane"}));

    // Once the switch is done the window closes, with nothing left to ask about.
    QTRY_VERIFY(window.isNull());
    QCOMPARE(order.size(), 2);
    Dialogs::setMessageHook(previous);
    QCOMPARE(newJournal(), QStringList());
}

QTEST_MAIN(tst_WndMainPages)
#include "tst_wndmainpages.moc"
