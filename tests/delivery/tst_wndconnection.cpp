// The connections page against the stand-in server: the list as the server reports it,
// its order by address, reloads on "&Refresh" and after column changes, and a failed
// reload that leaves the list as it was.

#include "dbctrl.h"
#include "deliveryfixture.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "pagesession.h"
#include "settingsstore.h"
#include "wndconnection.h"

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using DeliveryFixture::statements;

namespace {

const QString ShowConnections = QStringLiteral("select show_connections()");

QStringList column(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

} // namespace

class TestWndConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsTheConnections();
    void sortedColumns_data();
    void sortedColumns();
    void refreshAsksAgain();
    void failedRefreshKeepsTheList();
    void headerMoveReloadsAndResizeDoesNot();
    void statusMenu();

private:
    std::unique_ptr<WndConnection> makePage(Desktop* desktop = nullptr)
    {
        return std::make_unique<WndConnection>(nullptr, m_session->connection(), m_ctrl, desktop);
    }
    int loads(int from = 0) const { return int(statements(*m_server, from).count(ShowConnections)); }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestWndConnection::init()
{
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    DeliveryFixture::install(*m_server);
    QVERIFY(m_session->connect());
}

void TestWndConnection::cleanup()
{
    m_session.reset();
}

void TestWndConnection::listsTheConnections()
{
    auto page = makePage();
    QCOMPARE(statements(*m_server), QStringList{ShowConnections});
    QStringList headers;
    for (int i = 0; i < page->m_list->columnCount(); ++i)
        headers << page->m_list->headerItem()->text(i);
    QCOMPARE(headers, (QStringList{"Protocol", "Secure", "Time", "From", "User", "Info"}));
    QStringList rows;
    for (int i = 0; i < page->m_list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < 6; ++c)
            cells << page->m_list->topLevelItem(i)->text(c);
        rows << cells.join('|');
    }
    QCOMPARE(rows, (QStringList{"HTTP|No|00:00:00|192.168.1.1|cid|web mail", "IMAP|No|100:00:00|10.0.0.2|ann|INBOX",
                                "POP3|Yes|00:00:59|not an address|bob|download", "SMTP|Yes|01:01:01|10.0.0.10||receiving"}));
}

void TestWndConnection::sortedColumns_data()
{
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<QStringList>("protocols");

    QTest::newRow("From by address, a non-address as the highest") << 3
                                                                    << QStringList{"IMAP", "SMTP", "HTTP", "POP3"};
    QTest::newRow("Time by value") << 2 << QStringList{"HTTP", "POP3", "SMTP", "IMAP"};
}

void TestWndConnection::sortedColumns()
{
    QFETCH(int, sortColumn);
    QFETCH(QStringList, protocols);

    auto page = makePage();
    page->m_list->sortByColumn(sortColumn, Qt::AscendingOrder);
    QCOMPARE(column(page->m_list, 0), protocols);
}

void TestWndConnection::refreshAsksAgain()
{
    auto page = makePage();
    m_server->setConnections({{"SMTP", "0", "5", "10.1.1.1", "", "new"}});
    page->m_btnRefresh->click();
    QCOMPARE(loads(), 2);
    QCOMPARE(column(page->m_list, 5), QStringList{"new"});
}

void TestWndConnection::failedRefreshKeepsTheList()
{
    auto page = makePage();
    QVERIFY(m_server->refuse("show_connections", 111, 1));
    DialogRecorder recorder;
    page->slotRefresh();
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(page->m_list->topLevelItemCount(), 4);
    // The items keep their texts and their order by address though the table is empty.
    page->m_list->sortByColumn(3, Qt::AscendingOrder);
    QCOMPARE(column(page->m_list, 0), (QStringList{"IMAP", "SMTP", "HTTP", "POP3"}));
}

void TestWndConnection::headerMoveReloadsAndResizeDoesNot()
{
    Desktop desktop;
    auto page = makePage(&desktop);
    page->show();
    page->m_list->header()->resizeSection(0, 120);
    QTest::qWait(20);
    QCOMPARE(loads(), 1);
    page->m_list->header()->moveSection(3, 0);
    QTRY_COMPARE(loads(), 2);
    QCOMPARE(page->m_list->topLevelItemCount(), 4);
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Mail/conn/ver"), -1), 2);
    // "From" still sorts by address where it stands now.
    page->m_list->sortByColumn(3, Qt::AscendingOrder);
    QCOMPARE(column(page->m_list, 3), (QStringList{"10.0.0.2", "10.0.0.10", "192.168.1.1", "not an address"}));
}

void TestWndConnection::statusMenu()
{
    auto page = makePage();
    QMenu menu;
    QVERIFY(page->fillPopupMenu(menu, page.get(), nullptr));
    QStringList entries;
    for (QAction* action : menu.actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(entries, (QStringList{"&Refresh", "-", "&Modify Columns..."}));
}

QTEST_MAIN(TestWndConnection)
#include "tst_wndconnection.moc"
