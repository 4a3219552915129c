// The product page: the facts it reads from the stand-in server's info table.

#include "dialogrecorder.h"
#include "standinconnection.h"
#include "wnddlglogo.h"

#include <QTreeWidget>
#include <QtTest>

using namespace StandIn;

namespace {

QStringList columnTexts(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.append(list->topLevelItem(i)->text(column));
    return texts;
}

} // namespace

class tst_WndDlgLogo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void showsTheFourFacts_data();
    void showsTheFourFacts();
    void refusal();
    void withoutConnectionOnlyTheBanner();

private:
    std::unique_ptr<TestServer> m_server;
    QList<Column> m_infoColumns;
    QList<QStringList> m_infoRows;
};

void tst_WndDlgLogo::initTestCase()
{
    m_server = startStandIn();
    m_infoColumns = m_server->columns(QStringLiteral("info"));
    m_infoRows = m_server->rows(QStringLiteral("info"));
    QCOMPARE(m_infoColumns.size(), 6);
}

void tst_WndDlgLogo::init()
{
    m_server->clearControls();
    m_server->setTable(QStringLiteral("info"), m_infoColumns, m_infoRows);
}

void tst_WndDlgLogo::showsTheFourFacts_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("demo server") << m_infoRows
                                 << QStringList{"Ornel Corvane 5.0",
                                                "Linux 6.1.0-18-amd64 x86_64 (Debian GNU/Linux 12)",
                                                "http://www.corvane.example/",
                                                "Registered to Corvane Example Ltd. - 50 mailboxes"};
    // Columns: ProductName, Version, OsDescription, Notice, ProductHomepage, SSLInstalled.
    QTest::newRow("the first row counts")
        << QList<QStringList>{{"First", "1", "os1", "n1", "h1", "1"}, {"Second", "2", "os2", "n2", "h2", "1"}}
        << QStringList{"First 1", "os1", "h1", "n1"};
    QTest::newRow("no row at all") << QList<QStringList>() << QStringList{"", "", "", ""};
}

void tst_WndDlgLogo::showsTheFourFacts()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, values);

    m_server->setTable(QStringLiteral("info"), m_infoColumns, rows);
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    DialogRecorder recorder;
    QWidget pane;
    WndDlgLogo page(&pane, conn.get(), nullptr, nullptr);

    QCOMPARE(recorder.messageTexts(), QStringList());
    QCOMPARE(m_server->journal().last().statement,
             QStringLiteral("select ProductName, Version, OsDescription, Notice, ProductHomepage from info"));
    QVERIFY(!page.m_list->isHidden());
    QVERIFY(page.m_list->isHeaderHidden());
    const QStringList labels{"Product:   ", "Operating system:   ", "Homepage:", "Notice:"};
    QCOMPARE(columnTexts(page.m_list, 0), labels);
    QCOMPARE(columnTexts(page.m_list, 1), values);

    // Filled again, the list still holds the four rows once.
    page.updateData();
    QCOMPARE(columnTexts(page.m_list, 0), labels);
    QCOMPARE(columnTexts(page.m_list, 1), values);
}

void tst_WndDlgLogo::refusal()
{
    QVERIFY(m_server->refuse(QStringLiteral("from info"), 113, 1));
    ScopedConnection conn(m_server->port());
    QVERIFY(conn.connect());
    DialogRecorder recorder;
    WndDlgLogo page(nullptr, conn.get(), nullptr, nullptr);

    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Access denied"});
    QCOMPARE(recorder.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(recorder.messages[0].caption, QStringLiteral("Ornel Corvane Administration"));
    // An empty list whose header still shows.
    QVERIFY(!page.m_list->isHidden());
    QCOMPARE(page.m_list->topLevelItemCount(), 0);
    QVERIFY(!page.m_list->isHeaderHidden());
}

void tst_WndDlgLogo::withoutConnectionOnlyTheBanner()
{
    const int statements = m_server->journal().size();
    DialogRecorder recorder;
    QWidget pane;
    WndDlgLogo page(&pane, nullptr, nullptr, nullptr);
    QVERIFY(page.m_list->isHidden());
    QCOMPARE(page.m_list->topLevelItemCount(), 0);
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(m_server->journal().size(), statements);
}

QTEST_MAIN(tst_WndDlgLogo)
#include "tst_wnddlglogo.moc"
