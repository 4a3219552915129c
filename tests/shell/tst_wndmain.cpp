// The open-connection entry and the main window it opens, against the stand-in server:
// the caption, the navigation tree with the server's logs, the SSL check, where and how
// large windows open and the geometry they store, the failure dialog, the closing prompt,
// the unload request, and two windows side by side.

#include "dbconn.h"
#include "dialogrecorder.h"
#include "filewrites.h"
#include "globaldata.h"
#include "shellharness.h"
#include "tdlgfailed.h"
#include "vexadbblocks.h"
#include "wnddlglogo.h"
#include "wndprogress.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

using namespace StandIn;

namespace {

const QStringList DefaultLogs{"smtp", "pop3", "debug"};
const QString Question = QStringLiteral(
    "You have modified some data in the current view.\nSave changes on 127.0.0.1?");

// The tree's titles, indented two blanks a level.
QStringList treeRows(const QTreeWidget* tree)
{
    QStringList rows;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
        rows.append(QString(depth * 2, QLatin1Char(' ')) + item->text(0));
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

void resetLogs(TestServer& server, const QStringList& names)
{
    for (const QString& name : server.logNames())
        server.removeLog(name);
    for (const QString& name : names)
        server.addLog(name, {QStringLiteral("first line of ") + name});
}

// A port of 127.0.0.1 on which nobody listens any more.
quint16 closedPort()
{
    return startStandIn()->port();
}

// A "select LogList()" answer of a log number and these name cells, sent as they are.
QByteArray logListAnswer(const QByteArrayList& nameCells)
{
    using namespace vexablocks;
    BlockParts parts;
    parts.columns = 2;
    parts.rows = quint32(nameCells.size());
    parts.descriptors = descriptor(VEXADB_INT, "id") + descriptor(VEXADB_STRING, "name");
    for (int i = 0; i < nameCells.size(); ++i)
        parts.cells += cell(be32(quint32(i))) + cell(nameCells.at(i));
    return answer(block(parts));
}

QMdiSubWindow* frameOf(QWidget* window)
{
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

} // namespace

class tst_WndMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captionAndTree();
    void logChildren_data();
    void logChildren();
    void sslFlag_data();
    void sslFlag();
    void attachedBeforeLoading();

    void openingSize_data();
    void openingSize();
    void secondWindow_data();
    void secondWindow();
    void geometryStoredOnClose_data();
    void geometryStoredOnClose();

    void failures_data();
    void failures();

    void closingPrompt_data();
    void closingPrompt();
    void twoWindowsDoNotActOnEachOther();

private:
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ConsoleStandIn> m_console;
    QList<Column> m_infoColumns;
    QList<QStringList> m_infoRows;
    // What the workspace's frame adds around a window (its border and title bar).
    QSize m_frameDecoration;
};

void tst_WndMain::initTestCase()
{
    m_server = startStandIn();
    m_infoColumns = m_server->columns(QStringLiteral("info"));
    m_infoRows = m_server->rows(QStringLiteral("info"));
    QVERIFY(m_infoColumns.size() == 6 && m_infoColumns.at(5).name == QLatin1String("SSLInstalled"));
    Desktop desktop;
    const QMargins margins = desktop.addSubWindow(new QWidget)->contentsMargins();
    m_frameDecoration = QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
    QVERIFY(!m_frameDecoration.isEmpty());
}

void tst_WndMain::init()
{
    m_server->clearControls();
    m_server->setGreeting(GreetingPlan());
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

void tst_WndMain::captionAndTree()
{
    DialogRecorder dialogs;
    WndMain* window = m_console->open(m_server->port(), 1);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Ornel Corvane - 127.0.0.1"));
    QCOMPARE(globalData.mainWindow.data(), window);
    QCOMPARE(WndProgress::defaultParent(), m_console->console());
    QVERIFY(dialogs.messages.isEmpty());

    QCOMPARE(treeRows(window->getTree()),
             QStringList({"Ornel Corvane", "Configuration", "  Services", "  Domains",
                          "  SMTP Properties", "  Antivirus", "  Antispam", "  Backup",
                          "  Internet Connection", "  Scheduling", "  POP3 Download",
                          "  ETRN Download", "  Remote Administration", "  Advanced Options",
                          "  Definitions", "    Time Ranges", "    IP Address Groups",
                          "    User Templates", "Domain Settings", "  Users", "  Groups",
                          "  Aliases", "Status", "  Mail Queue", "  Connections", "Logs",
                          "  smtp", "  pop3", "  debug", "Quick Checklist"}));
    for (QTreeWidgetItem* item : {window->m_itemConfiguration, window->m_itemDomainSettings,
                                  window->m_itemStatus, window->m_itemLogs})
        QVERIFY2(item->isExpanded(), qPrintable(item->text(0)));
    QVERIFY(!window->m_itemDefinitions->isExpanded());

    // The product page comes first, without the bar.
    QCOMPARE(window->getCurrentItem(), window->m_itemRoot);
    QVERIFY(qobject_cast<WndDlgLogo*>(window->getCurrentPane()));
    QVERIFY(!window->getButtonBar()->isVisible());

    // Layout mode 1 lists exactly what the server received, in order.
    QTreeWidget* log = window->getLogList();
    QVERIFY(log);
    QStringList listed;
    for (int i = 0; i < log->topLevelItemCount(); ++i)
        listed.append(log->topLevelItem(i)->text(0));
    QCOMPARE(listed.mid(0, 2), QStringList({"select LogList()", "SELECT SSLInstalled FROM info"}));
    QCOMPARE(listed, m_server->journal(m_server->sessions().constLast().id));
}

void tst_WndMain::logChildren_data()
{
    QTest::addColumn<QStringList>("serverLogs");
    QTest::addColumn<QByteArray>("sent"); // else the server's own answer
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("children");

    const QString fits(127, QLatin1Char('f'));
    QTest::newRow("none") << QStringList() << QByteArray() << false << QStringList();
    QTest::newRow("three") << QStringList{"smtp", "Debug", "web admin"} << QByteArray() << false
                           << QStringList{"smtp", "Debug", "web admin"};
    QTest::newRow("refused") << QStringList{"smtp", "pop3"} << QByteArray() << true << QStringList();
    QTest::newRow("127 bytes fit") << QStringList{fits} << QByteArray() << false << QStringList{fits};
    QTest::newRow("over-long name") << QStringList{"smtp", QString(128, QLatin1Char('x')), "imap"}
                                    << QByteArray() << false << QStringList{"smtp", "", "imap"};
    // Each odd cell follows a long name, which a name read past its length would show.
    const QByteArray longName(100, 'L');
    QTest::newRow("names without their zero byte")
        << QStringList() << logListAnswer({longName + '\0', "smtp", longName + '\0', "pop3"}) << false
        << QStringList{QString::fromLatin1(longName), "smtp", QString::fromLatin1(longName), "pop3"};
    QTest::newRow("empty name cells") << QStringList()
                                      << logListAnswer({longName + '\0', "", QByteArray(1, '\0'), "imap"})
                                      << false << QStringList{QString::fromLatin1(longName), "", "", "imap"};
    QTest::newRow("128 bytes without a zero byte") << QStringList()
                                                   << logListAnswer({QByteArray(128, 'm'), QByteArray("web\0admin", 10)})
                                                   << false << QStringList{QString(128, u'm'), "web"};
    vexablocks::BlockParts withoutColumns;
    withoutColumns.rows = 3;
    QTest::newRow("three rows without columns")
        << QStringList{"smtp"} << vexablocks::answer(vexablocks::block(withoutColumns)) << false << QStringList();
}

void tst_WndMain::logChildren()
{
    QFETCH(QStringList, serverLogs);
    QFETCH(QByteArray, sent);
    QFETCH(bool, refused);
    QFETCH(QStringList, children);

    resetLogs(*m_server, serverLogs);
    if (!sent.isEmpty())
        QVERIFY(m_server->answerRaw(QStringLiteral("LogList"), sent));
    if (refused)
        QVERIFY(m_server->refuse(QStringLiteral("LogList"), 113));
    DialogRecorder dialogs;
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    QCOMPARE(childTexts(window->m_itemLogs), children);
    QStringList names;
    for (const LogEntry& log : window->getLogs()) {
        names << log.name;
        QCOMPARE(log.item, window->m_itemLogs->child(names.size() - 1));
    }
    QCOMPARE(names, children);
    // Failures of the window's own queries are not reported, and the tree is whole.
    QVERIFY(dialogs.messages.isEmpty());
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
    QTest::newRow("refused") << QList<QStringList>{row("0")} << true << true << true
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
    QVERIFY(m_console->open(m_server->port()));
    QCOMPARE(globalData.sslInstalled, flagAfter);
    QCOMPARE(globalData.currentDomain, domainAfter);
}

void tst_WndMain::attachedBeforeLoading()
{
    // The connection breaks on the window's first query; the product page, loading after
    // it, reports it over the main window.
    QVERIFY(m_server->dropAt(QStringLiteral("LogList"), 1));
    DialogRecorder dialogs;
    WndMain* window = m_console->open(m_server->port());
    QVERIFY(window);
    DBConn* conn = window->getConnection();
    QCOMPARE(conn->m_owner.data(), window);
    QCOMPARE(conn->m_ctrl.data(), window->getDBCtrl());
    QVERIFY(conn->m_lost);
    QCOMPARE(dialogs.messageTexts(),
             QStringList{"Connection failed!\nConsole was disconnected from 127.0.0.1."});
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages[0].parent.data(), window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Ornel Corvane - 127.0.0.1 - NOT CONNECTED!"));
}

void tst_WndMain::openingSize_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QString>("maximizedFlag");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<QSize>("window"); // before the product page's own minimum size

    // At least 500 by 300 with the frame, in a workspace of 1000 by 700, and never less
    // than the page shown needs. No window was active before: the new one keeps its own
    // size, or the minimum, and its place.
    const QSize minimum = QSize(500, 300) - m_frameDecoration;
    QTest::newRow("nothing stored: room for every page") << QSize(0, 0) << "false" << false
                                                         << QSize(960, 600);
    QTest::newRow("499 wide") << QSize(499, 300) << "false" << false << minimum;
    QTest::newRow("299 high") << QSize(500, 299) << "false" << false << minimum;
    QTest::newRow("exactly 500 by 300") << QSize(500, 300) << "false" << false << QSize(500, 300);
    QTest::newRow("maximised flag") << QSize(600, 400) << "true" << true << QSize();
    QTest::newRow("wider than the workspace") << QSize(1001, 400) << "false" << true << QSize();
    QTest::newRow("higher than the workspace") << QSize(600, 701) << "false" << true << QSize();
    QTest::newRow("as large as the workspace") << QSize(1000, 700) << "false" << false << QSize(1000, 700);
}

void tst_WndMain::openingSize()
{
    QFETCH(QSize, stored);
    QFETCH(QString, maximizedFlag);
    QFETCH(bool, maximized);
    QFETCH(QSize, window);

    m_console->storeSize(stored.width(), stored.height());
    m_console->settings()->writeEntry(QStringLiteral("/Admin/Mail/maximized"), maximizedFlag);
    WndMain* opened = m_console->open(m_server->port());
    QVERIFY(opened);
    QVERIFY(opened->isVisible());
    QCOMPARE(opened->isMaximizedInWorkspace(), maximized);
    if (maximized)
        return;
    QCOMPARE(frameOf(opened)->size() - opened->size(), m_frameDecoration);
    QCOMPARE(frameOf(opened)->pos(), QPoint(0, 0));
    const QSize pageNeeds = opened->minimumSizeHint();
    QVERIFY(pageNeeds.width() > 500 && pageNeeds.height() >= 300);
    QCOMPARE(opened->minimumSize(), pageNeeds);
    QCOMPARE(opened->size(), window.expandedTo(pageNeeds));
}

void tst_WndMain::secondWindow_data()
{
    QTest::addColumn<bool>("maximisePrevious");
    QTest::newRow("cascades") << false;
    QTest::newRow("follows a maximised previous window") << true;
}

void tst_WndMain::secondWindow()
{
    QFETCH(bool, maximisePrevious);

    m_console->storeSize(720, 400);
    WndMain* first = m_console->open(m_server->port());
    QVERIFY(first);
    frameOf(first)->move(30, 40);
    if (maximisePrevious)
        first->showMaximized();

    WndMain* second = m_console->open(m_server->port());
    QVERIFY(second);
    QCOMPARE(m_console->desktop()->activeWindow(), second);
    QCOMPARE(second->isMaximizedInWorkspace(), maximisePrevious);
    if (maximisePrevious) {
        QCOMPARE(frameOf(second)->geometry(), m_console->desktop()->viewport()->rect());
        return;
    }
    QCOMPARE(frameOf(second)->pos(), QPoint(52, 62));
    QCOMPARE(second->size(), QSize(720, 400));
    WndMain* third = m_console->open(m_server->port());
    QVERIFY(third);
    QCOMPARE(frameOf(third)->pos(), QPoint(74, 84));
}

void tst_WndMain::geometryStoredOnClose_data()
{
    QTest::addColumn<bool>("maximise");
    QTest::addColumn<QString>("maximized");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("normal") << false << "false" << 740 << 410;
    // While maximised the last normal size stays.
    QTest::newRow("maximised") << true << "true" << 710 << 390;
}

void tst_WndMain::geometryStoredOnClose()
{
    QFETCH(bool, maximise);
    QFETCH(QString, maximized);
    QFETCH(int, width);
    QFETCH(int, height);

    m_console->storeSize(710, 390);
    WndMain* opened = m_console->open(m_server->port());
    QVERIFY(opened);
    if (maximise)
        frameOf(opened)->showMaximized();
    else
        opened->resizeInWorkspace(QSize(740, 410));
    FileWrites writes(m_console->settings()->folder());
    QVERIFY(writes.isValid());
    QVERIFY(opened->close());
    // Every value in one write of the file.
    QCOMPARE(writes.take(QStringLiteral("adminrc")), 1);
    SettingsStore* settings = m_console->settings();
    QCOMPARE(settings->readEntry(QStringLiteral("/Admin/Mail/maximized")), maximized);
    QCOMPARE(settings->readNumEntry(QStringLiteral("/Admin/Mail/width")), width);
    QCOMPARE(settings->readNumEntry(QStringLiteral("/Admin/Mail/height")), height);
}

void tst_WndMain::failures_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("abort"); // "&Abort" on the wait indicator
    QTest::addColumn<QString>("description");

    QTest::newRow("wrong password") << true << QByteArray("wrong") << false << "Authentication failed.";
    QTest::newRow("nobody listening") << false << QByteArray("admin") << false
                                      << "Connection has failed with error code 1.";
    QTest::newRow("aborted") << true << QByteArray("admin") << true
                             << "Connection has failed with error code 0.";
}

void tst_WndMain::failures()
{
    QFETCH(bool, reachable);
    QFETCH(QByteArray, password);
    QFETCH(bool, abort);
    QFETCH(QString, description);

    bool aborted = false;
    QTimer poll;
    if (abort) {
        GreetingPlan slow;
        slow.pauseAt = {1};
        slow.pauseMs = 1500;
        m_server->setGreeting(slow);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* progress = m_console->console()->findChild<WndProgress*>();
            if (progress && progress->isVisible() && !aborted) {
                aborted = true;
                progress->slotAbort();
            }
        });
        poll.start(20);
    }
    QSignalSpy unload(m_console->desktop(), &Desktop::signalCloseDll);
    QStringList seen;
    DialogRecorder dialogs;
    dialogs.answerDialog([&](QDialog* dialog) {
        if (auto* failed = qobject_cast<TDlgFailed*>(dialog))
            seen << failed->m_lbDesc->text() << failed->windowTitle();
        if (dialog->parentWidget() == m_console->console())
            seen << QStringLiteral("over the console");
        return int(QDialog::Accepted);
    });
    QVERIFY(!m_console->open(reachable ? m_server->port() : closedPort(), 0, password.constData()));
    QCOMPARE(aborted, abort);
    QCOMPARE(seen, QStringList({description, "Ornel Administration Console", "over the console"}));
    QCOMPARE(dialogs.dialogs.size(), 1);
    // Nothing is left behind: no window, and the connection has ended.
    QVERIFY(m_console->desktop()->windowList().isEmpty());
    QCOMPARE(WndMain::liveConnections(), 0);
    QCOMPARE(unload.count(), 0);
}

void tst_WndMain::closingPrompt_data()
{
    QTest::addColumn<bool>("pending");
    QTest::addColumn<bool>("lost");
    QTest::addColumn<int>("answer"); // button index; -1: no prompt expected
    QTest::addColumn<bool>("withdraw");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<int>("updateAgain");
    QTest::addColumn<QStringList>("boxes");

    const QStringList prompt{Question};
    const QStringList none;
    QTest::newRow("nothing pending") << false << false << -1 << false << true << false << 0 << none;
    QTest::newRow("connection lost") << true << true << -1 << false << true << false << 0 << none;
    QTest::newRow("yes") << true << false << 0 << false << true << true << 0 << prompt;
    QTest::newRow("yes, withdrawn") << true << false << 0 << true << false << false << 1 << prompt;
    QTest::newRow("no") << true << false << 1 << false << true << false << 0 << prompt;
    QTest::newRow("cancel") << true << false << 2 << false << false << false << 0 << prompt;
}

void tst_WndMain::closingPrompt()
{
    QFETCH(bool, pending);
    QFETCH(bool, lost);
    QFETCH(int, answer);
    QFETCH(bool, withdraw);
    QFETCH(bool, closes);
    QFETCH(bool, sent);
    QFETCH(int, updateAgain);
    QFETCH(QStringList, boxes);

    const QString statement = QStringLiteral("update info set Notice='closing'");
    QPointer<WndMain> window = m_console->open(m_server->port());
    QVERIFY(window);
    const int journalStart = m_server->journal().size();
    DBCtrl* ctrl = window->getDBCtrl();
    if (pending)
        ctrl->set(QStringList{statement}, false);
    window->getConnection()->m_lost = lost;
    if (withdraw)
        connect(ctrl, &DBCtrl::sig_before_apply, ctrl, [ctrl] { ctrl->m_pending.clear(); });
    QSignalSpy updateAgainSpy(ctrl, &DBCtrl::sig_update_again);
    QSignalSpy unload(m_console->desktop(), &Desktop::signalCloseDll);

    DialogRecorder dialogs;
    if (answer >= 0)
        dialogs.answer(answer);
    QCOMPARE(window->close(), closes);
    QCOMPARE(dialogs.messageTexts(), boxes);
    QCOMPARE(updateAgainSpy.count(), updateAgain);
    QCOMPARE(journalFrom(*m_server, journalStart).contains(statement), sent);

    if (closes) {
        QTRY_VERIFY(window.isNull());
        QTRY_COMPARE(unload.count(), 1);
        QVERIFY(m_console->desktop()->subWindowList().isEmpty());
    } else {
        QVERIFY(window->isVisible());
        QVERIFY(window->isReverting());
        QCOMPARE(window->getTree()->currentItem(), window->getCurrentItem());
        QCOMPARE(ctrl->m_pending, withdraw ? QStringList() : QStringList{statement});
        QTest::qWait(50);
        QCOMPARE(unload.count(), 0);
    }
}

void tst_WndMain::twoWindowsDoNotActOnEachOther()
{
    std::unique_ptr<TestServer> second = startStandIn();
    resetLogs(*second, {"web", "antivirus"});

    DialogRecorder dialogs;
    QPointer<WndMain> first = m_console->open(m_server->port(), 0, "admin", testHandle(1));
    QPointer<WndMain> other = m_console->open(second->port(), 0, "admin", testHandle(2));
    QVERIFY(first && other);
    QCOMPARE(globalData.mainWindow.data(), other.data());
    QCOMPARE(childTexts(first->m_itemLogs), DefaultLogs);
    QCOMPARE(childTexts(other->m_itemLogs), (QStringList{"web", "antivirus"}));
    QCOMPARE(first->getLogs().at(0).item->treeWidget(), first->getTree());

    // Pending changes of the first window do not hold up the second.
    first->getDBCtrl()->set(QStringList{"update info set Notice='first'"}, false);
    QSignalSpy unload(m_console->desktop(), &Desktop::signalCloseDll);
    QList<int> connectionsAtRequests;
    connect(m_console->desktop(), &Desktop::signalCloseDll, this,
            [&] { connectionsAtRequests << WndMain::liveConnections(); });
    QVERIFY(other->close());
    QTRY_VERIFY(other.isNull());
    QVERIFY(globalData.mainWindow.isNull());

    // The first window is whole and still talks to its server.
    QCOMPARE(first->getLogs().size(), 3);
    first->apply();
    QVERIFY(first->getDBCtrl()->m_pending.isEmpty());
    QCOMPARE(m_server->rows(QStringLiteral("info")).value(0).value(3), QStringLiteral("first"));
    QVERIFY(dialogs.messages.isEmpty());

    // The module is not unloaded while a worker thread of its connections runs; then both
    // requests come, each once, also for a window destroyed without closing.
    QTest::qWait(100);
    QCOMPARE(unload.count(), 0);
    delete frameOf(first);
    QTRY_COMPARE(unload.count(), 2);
    QCOMPARE(unload.at(0).at(0).value<DLLHANDLE>(), testHandle(2));
    QCOMPARE(unload.at(1).at(0).value<DLLHANDLE>(), testHandle(1));
    QCOMPARE(connectionsAtRequests, QList<int>({0, 0}));
    QTest::qWait(50);
    QCOMPARE(unload.count(), 2);
}

QTEST_MAIN(tst_WndMain)
#include "tst_wndmain.moc"
