// The main window against the stand-in server: its caption, its navigation tree with the
// server's logs, the SSL check, its attachment to the connection, the request log, the
// closing prompt and two windows side by side.

#include "consolestandin.h"
#include "dbconn.h"
#include "dialogrecorder.h"
#include "standinconnection.h"
#include "wnddlglogo.h"
#include "xpmicon.h"

#include "images/checklist.xpm"
#include "images/console.xpm"
#include "images/information.xpm"
#include "images/log.xpm"
#include "images/section.xpm"
#include "images/status.xpm"

#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

using namespace StandIn;

namespace {

const QStringList DefaultLogs{"smtp", "pop3", "debug"};

struct TreeRow
{
    int depth;
    QString text;
    bool operator==(const TreeRow& other) const
    {
        return depth == other.depth && text == other.text;
    }
};

QList<TreeRow> treeRows(const QTreeWidget* tree)
{
    QList<TreeRow> rows;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
        rows.append({depth, item->text(0)});
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return rows;
}

QStringList childTexts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts.append(item->child(i)->text(0));
    return texts;
}

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage expectedIcon(const char* const* xpm)
{
    return iconImage(QIcon(xpmIcon(xpm)));
}

void resetLogs(TestServer& server, const QStringList& names)
{
    for (const QString& name : server.logNames())
        server.removeLog(name);
    for (const QString& name : names)
        server.addLog(name, {QStringLiteral("first line of ") + name});
}

} // namespace

QT_BEGIN_NAMESPACE
namespace QTest {
template<>
char* toString(const TreeRow& row)
{
    return qstrdup(qPrintable(QStringLiteral("%1%2").arg(QString(row.depth * 2, QLatin1Char(' ')), row.text)));
}
} // namespace QTest
QT_END_NAMESPACE

class tst_WndMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captionAndIcon();
    void navigationTree();
    void treeWidth();
    void treeIcons();
    void productPageFirst();
    void logChildren_data();
    void logChildren();
    void sslFlag_data();
    void sslFlag();
    void attachedBeforeLoading();
    void requestLogInMode1();
    void closingPrompt_data();
    void closingPrompt();
    void promptTexts();
    void lostConnectionClosesWithoutAsking();
    void twoWindowsDoNotActOnEachOther();

private:
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ConsoleStandIn> m_console;
    QList<Column> m_infoColumns;
    QList<QStringList> m_infoRows;
};

void tst_WndMain::initTestCase()
{
    m_server = startStandIn();
    m_infoColumns = m_server->columns(QStringLiteral("info"));
    m_infoRows = m_server->rows(QStringLiteral("info"));
    QVERIFY(m_infoColumns.size() == 6 && m_infoColumns.at(5).name == QLatin1String("SSLInstalled"));
}

void tst_WndMain::init()
{
    m_server->clearControls();
    m_server->setTable(QStringLiteral("info"), m_infoColumns, m_infoRows);
    resetLogs(*m_server, DefaultLogs);
    globalData.sslInstalled = false;
    globalData.currentDomain = QString();
    m_console = std::make_unique<ConsoleStandIn>();
}

void tst_WndMain::cleanup()
{
    m_console.reset();
}

void tst_WndMain::captionAndIcon()
{
    DialogRecorder dialogs;
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Ornel Corvane - 127.0.0.1"));
    QCOMPARE(iconImage(window->windowIcon()), expectedIcon(console_xpm));
    QCOMPARE(globalData.mainWindow.data(), window);
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_WndMain::navigationTree()
{
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    const QList<TreeRow> expected{
        {0, "Ornel Corvane"},
        {0, "Configuration"},
        {1, "Services"}, {1, "Domains"}, {1, "SMTP Properties"}, {1, "Antivirus"},
        {1, "Antispam"}, {1, "Backup"}, {1, "Internet Connection"}, {1, "Scheduling"},
        {1, "POP3 Download"}, {1, "ETRN Download"}, {1, "Remote Administration"},
        {1, "Advanced Options"}, {1, "Definitions"},
        {2, "Time Ranges"}, {2, "IP Address Groups"}, {2, "User Templates"},
        {0, "Domain Settings"},
        {1, "Users"}, {1, "Groups"}, {1, "Aliases"},
        {0, "Status"},
        {1, "Mail Queue"}, {1, "Connections"},
        {0, "Logs"},
        {1, "smtp"}, {1, "pop3"}, {1, "debug"},
        {0, "Quick Checklist"},
    };
    QCOMPARE(treeRows(window->getTree()), expected);

    for (QTreeWidgetItem* item : {window->m_itemConfiguration, window->m_itemDomainSettings,
                                  window->m_itemStatus, window->m_itemLogs})
        QVERIFY2(item->isExpanded(), qPrintable(item->text(0)));
    QVERIFY(!window->m_itemDefinitions->isExpanded());
    QCOMPARE(window->m_itemDefinitions->parent(), window->m_itemConfiguration);
}

void tst_WndMain::treeWidth()
{
    m_console->settings()->writeEntry(QStringLiteral("/Admin/Mail/width"), 800);
    m_console->settings()->writeEntry(QStringLiteral("/Admin/Mail/height"), 500);
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    QCOMPARE(window->getTree()->width(), 220);
}

void tst_WndMain::treeIcons()
{
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    const QImage information = expectedIcon(information_xpm);
    const QImage section = expectedIcon(section_xpm);
    const QImage status = expectedIcon(status_xpm);
    const QImage log = expectedIcon(log_xpm);
    const QImage checklist = expectedIcon(checklist_xpm);
    QVERIFY(section != status && section != log && status != log);

    auto iconOf = [](QTreeWidgetItem* item) { return iconImage(item->icon(0)); };
    QCOMPARE(iconOf(window->m_itemRoot), information);
    for (QTreeWidgetItem* item : {window->m_itemConfiguration, window->m_itemServices,
                                  window->m_itemAdvanced, window->m_itemDefinitions,
                                  window->m_itemTimeRanges, window->m_itemTemplates,
                                  window->m_itemDomainSettings, window->m_itemAliases})
        QCOMPARE(iconOf(item), section);
    for (QTreeWidgetItem* item : {window->m_itemStatus, window->m_itemQueue, window->m_itemConnections})
        QCOMPARE(iconOf(item), status);
    QCOMPARE(iconOf(window->m_itemLogs), log);
    for (const LogEntry& entry : window->getLogs())
        QCOMPARE(iconOf(entry.item), log);
    QCOMPARE(iconOf(window->m_itemChecklist), checklist);
}

void tst_WndMain::productPageFirst()
{
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    QCOMPARE(window->getCurrentItem(), window->m_itemRoot);
    QCOMPARE(window->getTree()->currentItem(), window->m_itemRoot);
    auto* page = qobject_cast<WndDlgLogo*>(window->getCurrentPane());
    QVERIFY(page);
    QCOMPARE(page->parentWidget(), window->getRightPane());
    QVERIFY(!window->getButtonBar()->isVisible());
    QVERIFY(!window->isReverting());
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());
}

void tst_WndMain::logChildren_data()
{
    QTest::addColumn<QStringList>("serverLogs");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("children");

    const QString fits(127, QLatin1Char('f'));
    const QString tooLong(128, QLatin1Char('x'));
    QTest::newRow("none") << QStringList() << false << QStringList();
    QTest::newRow("three") << QStringList{"smtp", "Debug", "web admin"} << false
                           << QStringList{"smtp", "Debug", "web admin"};
    QTest::newRow("refused") << QStringList{"smtp", "pop3"} << true << QStringList();
    QTest::newRow("127 bytes fit") << QStringList{fits} << false << QStringList{fits};
    QTest::newRow("over-long name") << QStringList{"smtp", tooLong, "imap"} << false
                                    << QStringList{"smtp", "", "imap"};
    QTest::newRow("latin-1 name") << QStringList{QStringLiteral("caf\u00e9")} << false
                                  << QStringList{QStringLiteral("caf\u00c3\u00a9")};
}

void tst_WndMain::logChildren()
{
    QFETCH(QStringList, serverLogs);
    QFETCH(bool, refused);
    QFETCH(QStringList, children);

    resetLogs(*m_server, serverLogs);
    if (refused)
        QVERIFY(m_server->refuse(QStringLiteral("LogList"), 113));
    DialogRecorder dialogs;
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    QCOMPARE(childTexts(window->m_itemLogs), children);
    QCOMPARE(window->getLogs().size(), children.size());
    for (int i = 0; i < children.size(); ++i) {
        QCOMPARE(window->getLogs().at(i).name, children.at(i));
        QCOMPARE(window->getLogs().at(i).item, window->m_itemLogs->child(i));
    }
    // Failures of the window's own queries are not reported.
    QVERIFY(dialogs.messages.isEmpty());
    // The rest of the tree is whole either way.
    QCOMPARE(window->getTree()->topLevelItem(5), window->m_itemChecklist);
}

void tst_WndMain::sslFlag_data()
{
    QTest::addColumn<QList<QStringList>>("infoRows");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("flagBefore");
    QTest::addColumn<bool>("flagAfter");
    QTest::addColumn<QString>("domainAfter");

    auto row = [](const char* ssl) {
        return QStringList{"Ornel Corvane", "5.0", "Linux", "Notice", "http://x.example/",
                           QString::fromLatin1(ssl)};
    };
    QTest::newRow("installed") << QList<QStringList>{row("1")} << false << false << true << "";
    QTest::newRow("not installed") << QList<QStringList>{row("0")} << false << true << false << "";
    QTest::newRow("any other value") << QList<QStringList>{row("7")} << false << false << true << "";
    QTest::newRow("refused, was set") << QList<QStringList>{row("0")} << true << true << true
                                      << "lakeside.example";
    QTest::newRow("refused, was clear") << QList<QStringList>{row("1")} << true << false << false
                                        << "lakeside.example";
    QTest::newRow("no rows") << QList<QStringList>{} << false << true << false << "";
}

void tst_WndMain::sslFlag()
{
    QFETCH(QList<QStringList>, infoRows);
    QFETCH(bool, refused);
    QFETCH(bool, flagBefore);
    QFETCH(bool, flagAfter);
    QFETCH(QString, domainAfter);

    m_server->setTable(QStringLiteral("info"), m_infoColumns, infoRows);
    if (refused)
        QVERIFY(m_server->refuse(QStringLiteral("SSLInstalled"), 113));
    globalData.sslInstalled = flagBefore;
    globalData.currentDomain = QStringLiteral("lakeside.example");

    DialogRecorder dialogs;
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    QCOMPARE(globalData.sslInstalled, flagAfter);
    QCOMPARE(globalData.currentDomain, domainAfter);
    if (domainAfter.isEmpty())
        QVERIFY(!globalData.currentDomain.isNull());
}

void tst_WndMain::attachedBeforeLoading()
{
    // The connection breaks on the window's first query. The product page, loading after
    // it, meets the broken connection and reports it over the main window.
    QVERIFY(m_server->dropAt(QStringLiteral("LogList"), 1));
    DialogRecorder dialogs;
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    DBConn* conn = window->getConnection();
    QCOMPARE(conn->m_owner.data(), window);
    QCOMPARE(conn->m_ctrl.data(), window->getDBCtrl());
    QVERIFY(conn->m_lost);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages[0].parent.data(), window);
    QCOMPARE(dialogs.messages[0].text,
             QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1."));
    QCOMPARE(window->windowTitle(), QStringLiteral("Ornel Corvane - 127.0.0.1 - NOT CONNECTED!"));
    QCOMPARE(window->m_itemLogs->childCount(), 0);
}

void tst_WndMain::requestLogInMode1()
{
    WndMain* window = m_console->open(m_server->port(), 1);
    QVERIFY(window);
    QTreeWidget* log = window->getLogList();
    QVERIFY(log);
    QCOMPARE(window->getConnection()->m_logview.data(), log);
    QVERIFY(log->topLevelItemCount() >= 2);
    QCOMPARE(log->topLevelItem(0)->text(0), QStringLiteral("select LogList()"));
    QCOMPARE(log->topLevelItem(1)->text(0), QStringLiteral("SELECT SSLInstalled FROM info"));
    // Exactly what the server received, in order.
    const QStringList received = m_server->journal(m_server->sessions().constLast().id);
    QStringList listed;
    for (int i = 0; i < log->topLevelItemCount(); ++i)
        listed.append(log->topLevelItem(i)->text(0));
    QCOMPARE(listed, received);

    WndMain* plain = m_console->open(m_server->port(), 0);
    QVERIFY(plain);
    QVERIFY(!plain->getLogList());
    QVERIFY(!plain->getConnection()->m_logview);
}

void tst_WndMain::closingPrompt_data()
{
    QTest::addColumn<bool>("pending");
    QTest::addColumn<int>("answer"); // button index; -1: no prompt expected
    QTest::addColumn<bool>("withdraw");
    QTest::addColumn<bool>("refuseStatement");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<int>("updateAgain");
    QTest::addColumn<QStringList>("boxes");

    const QStringList prompt{"You have modified some data in the current view.\nSave changes on 127.0.0.1?"};
    QTest::newRow("nothing pending") << false << -1 << false << false << true << false << 0 << QStringList();
    QTest::newRow("yes") << true << 0 << false << false << true << true << 0 << prompt;
    QTest::newRow("yes, refused") << true << 0 << false << true << true << true << 0
                                  << (prompt + QStringList{"Query failed: Access denied"});
    QTest::newRow("yes, withdrawn") << true << 0 << true << false << false << false << 1 << prompt;
    QTest::newRow("no") << true << 1 << false << false << true << false << 0 << prompt;
    QTest::newRow("cancel") << true << 2 << false << false << false << false << 0 << prompt;
}

void tst_WndMain::closingPrompt()
{
    QFETCH(bool, pending);
    QFETCH(int, answer);
    QFETCH(bool, withdraw);
    QFETCH(bool, refuseStatement);
    QFETCH(bool, closes);
    QFETCH(bool, sent);
    QFETCH(int, updateAgain);
    QFETCH(QStringList, boxes);

    const QString statement = QStringLiteral("update info set Notice='closing'");
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    QPointer<WndMain> guard(window);
    const quint32 session = m_server->sessions().constLast().id;
    const int journalBefore = m_server->journal(session).size();
    DBCtrl* ctrl = window->getDBCtrl();
    if (pending)
        ctrl->set(QStringList{statement}, false);
    if (withdraw)
        connect(ctrl, &DBCtrl::sig_before_apply, ctrl, [ctrl] { ctrl->m_pending.clear(); });
    if (refuseStatement)
        QVERIFY(m_server->refuse(QStringLiteral("^update info"), 113));
    QSignalSpy updateAgainSpy(ctrl, &DBCtrl::sig_update_again);
    QSignalSpy unload(m_console->desktop(), &Desktop::signalCloseDll);
    // The administrator had gone elsewhere in the tree: the prompt's Cancel turns it back.
    window->getTree()->setCurrentItem(window->m_itemRoot);

    DialogRecorder dialogs;
    if (answer >= 0)
        dialogs.answer(answer);
    const bool closed = window->close();
    QCOMPARE(closed, closes);
    QCOMPARE(dialogs.messageTexts(), boxes);
    QCOMPARE(updateAgainSpy.count(), updateAgain);
    const QStringList received = m_server->journal(session).mid(journalBefore);
    QCOMPARE(received.contains(statement), sent);

    if (closes) {
        QTRY_VERIFY(guard.isNull());
        QTRY_COMPARE(unload.count(), 1);
        QCOMPARE(unload.at(0).at(0).value<DLLHANDLE>(), testHandle());
        QTRY_VERIFY(m_console->desktop()->subWindowList().isEmpty());
    } else {
        QVERIFY(guard);
        QVERIFY(window->isVisible());
        QVERIFY(window->isReverting());
        QCOMPARE(window->getTree()->currentItem(), window->getCurrentItem());
        QCOMPARE(ctrl->m_pending, withdraw ? QStringList() : QStringList{statement});
        QCOMPARE(m_console->desktop()->windowList(), QWidgetList{window});
        QTest::qWait(50);
        QCOMPARE(unload.count(), 0);
    }
}

void tst_WndMain::promptTexts()
{
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    window->getDBCtrl()->set(QStringList{"update info set Notice='x'"}, false);
    DialogRecorder dialogs;
    dialogs.answer(2);
    QVERIFY(!window->close());
    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages[0];
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.parent.data(), window);
    QCOMPARE(box.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(box.text, QStringLiteral("You have modified some data in the current view.\n"
                                      "Save changes on 127.0.0.1?"));
    QCOMPARE(box.buttonTexts, (QStringList{"&Yes", "&No", "&Cancel"}));
    QCOMPARE(box.defaultButton, 0);
    QCOMPARE(box.escapeButton, 2);
}

void tst_WndMain::lostConnectionClosesWithoutAsking()
{
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    QPointer<WndMain> guard(window);
    window->getDBCtrl()->set(QStringList{"update info set Notice='lost'"}, false);
    window->getConnection()->m_lost = true;
    QVERIFY(window->can_close());
    DialogRecorder dialogs;
    QVERIFY(window->close());
    QVERIFY(dialogs.messages.isEmpty());
    QTRY_VERIFY(guard.isNull());
}

void tst_WndMain::twoWindowsDoNotActOnEachOther()
{
    StandIn::ServerOptions options;
    options.port = 0;
    TestServer second(options);
    QVERIFY(second.start());
    resetLogs(second, {"web", "antivirus"});

    DialogRecorder dialogs;
    QPointer<WndMain> first = m_console->open(m_server->port(), 0, "admin", testHandle(1));
    QPointer<WndMain> other = m_console->open(second.port(), 0, "admin", testHandle(2));
    QVERIFY(first && other);
    QCOMPARE(globalData.mainWindow.data(), other.data());
    QCOMPARE(childTexts(first->m_itemLogs), DefaultLogs);
    QCOMPARE(childTexts(other->m_itemLogs), (QStringList{"web", "antivirus"}));
    QCOMPARE(first->getLogs().at(0).item->treeWidget(), first->getTree());
    QCOMPARE(other->getLogs().at(0).item->treeWidget(), other->getTree());
    QVERIFY(first->getConnection() != other->getConnection());

    // Pending changes of the first window do not hold up the second.
    first->getDBCtrl()->set(QStringList{"update info set Notice='first'"}, false);
    QSignalSpy unload(m_console->desktop(), &Desktop::signalCloseDll);
    QVERIFY(other->close());
    QTRY_VERIFY(other.isNull());
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(globalData.mainWindow.isNull());

    // The first window is whole and still talks to its server.
    QCOMPARE(first->getDBCtrl()->m_pending.size(), 1);
    QCOMPARE(first->getLogs().size(), 3);
    QCOMPARE(first->getLogs().at(2).item->text(0), QStringLiteral("debug"));
    QVERIFY(!first->getConnection()->m_lost);
    first->apply();
    QVERIFY(first->getDBCtrl()->m_pending.isEmpty());
    QCOMPARE(m_server->rows(QStringLiteral("info")).value(0).value(3), QStringLiteral("first"));
    QVERIFY(dialogs.messages.isEmpty());

    // The module is not unloaded while the first window's connection lives; then both
    // requests come, each once.
    QTest::qWait(100);
    QCOMPARE(unload.count(), 0);
    QVERIFY(first->close());
    QTRY_COMPARE(unload.count(), 2);
    QCOMPARE(unload.at(0).at(0).value<DLLHANDLE>(), testHandle(2));
    QCOMPARE(unload.at(1).at(0).value<DLLHANDLE>(), testHandle(1));
    QCOMPARE(WndMain::liveConnections(), 0);
}

QTEST_MAIN(tst_WndMain)
#include "tst_wndmain.moc"
