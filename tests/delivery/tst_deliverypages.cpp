// The delivery pages in a main window, built through the page table: where they stand in
// the tree, whether the Apply/Reset bar goes with them, and an ETRN change applied.

#include "deliveryfixture.h"
#include "dialogrecorder.h"
#include "shellharness.h"
#include "wndconnection.h"
#include "wndetrn.h"
#include "wndqueue.h"

#include <QPushButton>
#include <QtTest>

class TestDeliveryPages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openFromTheTree_data();
    void openFromTheTree();
    void etrnRemovalApplied();

private:
    std::unique_ptr<StandIn::TestServer> m_server;
};

void TestDeliveryPages::init()
{
    m_server = startStandIn();
    DeliveryFixture::install(*m_server);
    PageFactory::registerPage<WndEtrn>(PageKind::EtrnDownload);
    PageFactory::registerPage<WndQueue>(PageKind::MailQueue);
    PageFactory::registerPage<WndConnection>(PageKind::Connections);
}

void TestDeliveryPages::cleanup()
{
    m_server.reset();
}

void TestDeliveryPages::openFromTheTree_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("pageClass");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<int>("rows");

    QTest::newRow("ETRN") << "Configuration/ETRN Download" << "WndEtrn" << true << 3;
    QTest::newRow("queue") << "Status/Mail Queue" << "WndQueue" << false << 4;
    QTest::newRow("connections") << "Status/Connections" << "WndConnection" << false << 4;
}

void TestDeliveryPages::openFromTheTree()
{
    QFETCH(QString, path);
    QFETCH(QString, pageClass);
    QFETCH(bool, bar);
    QFETCH(int, rows);

    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    choose(window, path);
    QWidget* page = nullptr;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (QLatin1String(widget->metaObject()->className()) == pageClass)
            page = widget;
    }
    QVERIFY(page);
    QCOMPARE(window->getApplyButton()->isVisibleTo(window), bar);
    QCOMPARE(page->findChild<QTreeWidget*>(QStringLiteral("m_list"))->topLevelItemCount(), rows);
}

void TestDeliveryPages::etrnRemovalApplied()
{
    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    choose(window, QStringLiteral("Configuration/ETRN Download"));
    auto* page = window->findChild<WndEtrn*>();
    QVERIFY(page);
    page->m_list->topLevelItem(2)->setSelected(true);
    page->slotRemove();
    const int before = int(m_server->journal().size());
    window->apply();
    QCOMPARE(journalFrom(*m_server, before),
             QStringList{"delete from odmr where server='relay.example' and domain='corvane.example'"});
    QCOMPARE(m_server->rows("odmr").size(), 2);
    QVERIFY(page->m_table.diff(true)->isEmpty());
}

QTEST_MAIN(TestDeliveryPages)
#include "tst_deliverypages.moc"
