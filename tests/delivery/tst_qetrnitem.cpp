// The rows of the ETRN download list: their cells in the shown columns and their order.

#include "deliverycolumns.h"
#include "itemlist.h"
#include "qetrnitem.h"

#include <QTreeWidget>
#include <QtTest>

using DeliveryFixture::row;

namespace {

// The list with the ETRN columns; the rows live as long as it.
struct EtrnList : ItemList<QEtrnItem>
{
    explicit EtrnList(const QList<int>& shown = {QEtrnItem::Server, QEtrnItem::Domains})
        : ItemList(shown)
    {
    }

    QEtrnItem* add(const QStringList& texts)
    {
        rows.push_back(row(dbcol_etrn, texts));
        auto* item = new QEtrnItem(&view, rows.back().get(), &cols);
        item->show();
        return item;
    }
};

} // namespace

class TestQEtrnItem : public QObject
{
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void iconOnlyWithServerShown();
    void equalCellsFollowServerThenDomains_data();
    void equalCellsFollowServerThenDomains();
};

void TestQEtrnItem::cells_data()
{
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<QStringList>("values"); // server, domain, auth, user, password
    QTest::addColumn<QStringList>("texts");  // the view columns left to right

    const QList<int> all{QEtrnItem::Server, QEtrnItem::Domains, QEtrnItem::Authentication, QEtrnItem::User};
    QTest::newRow("defaults") << QList<int>{QEtrnItem::Server, QEtrnItem::Domains}
                              << QStringList{"mx.example", "a.example;b.example", "1", "u", "p"}
                              << QStringList{"mx.example", "a.example;b.example"};
    QTest::newRow("authentication on") << all << QStringList{"mx.example", "a.example", "1", "u", ""}
                                       << QStringList{"mx.example", "a.example", "Yes", "u"};
    QTest::newRow("any number but 0 is on") << all << QStringList{"mx.example", "a.example", "2", "", ""}
                                            << QStringList{"mx.example", "a.example", "Yes", ""};
    QTest::newRow("off keeps the user") << all << QStringList{"mx.example", "a.example", "0", "kept", ""}
                                        << QStringList{"mx.example", "a.example", "No", "kept"};
    QTest::newRow("null is off") << all << QStringList{"mx.example", "a.example", QString(), "", ""}
                                 << QStringList{"mx.example", "a.example", "No", ""};
}

void TestQEtrnItem::cells()
{
    QFETCH(QList<int>, shown);
    QFETCH(QStringList, values);
    QFETCH(QStringList, texts);

    EtrnList list(shown);
    QCOMPARE(list.onScreen(list.add(values)), texts);
}

void TestQEtrnItem::iconOnlyWithServerShown()
{
    EtrnList withServer;
    QVERIFY(!withServer.add({"mx.example", "a.example", "0", "", ""})->icon(0).isNull());
    EtrnList withoutServer({QEtrnItem::Domains, QEtrnItem::User});
    QEtrnItem* item = withoutServer.add({"mx.example", "a.example", "0", "ann", ""});
    QVERIFY(item->icon(0).isNull());
    QVERIFY(item->icon(1).isNull());
    // The server's part of the key is empty then.
    QCOMPARE(item->key(1, true), QStringLiteral("ann") + QString(16, ' ') + QString(16, ' ') + "a.example");
}

void TestQEtrnItem::equalCellsFollowServerThenDomains_data()
{
    QTest::addColumn<int>("sortId");
    QTest::addColumn<QStringList>("servers"); // in sorted order

    QTest::newRow("by domains, equal ones by server") << int(QEtrnItem::Domains)
                                                     << QStringList{"a.example", "b.example", "c.example", "a.example"};
    QTest::newRow("by authentication, then server, then domains")
        << int(QEtrnItem::Authentication) << QStringList{"a.example", "c.example", "a.example", "b.example"};
}

void TestQEtrnItem::equalCellsFollowServerThenDomains()
{
    QFETCH(int, sortId);
    QFETCH(QStringList, servers);

    EtrnList list({QEtrnItem::Server, QEtrnItem::Domains, QEtrnItem::Authentication});
    list.add({"c.example", "one.example", "0", "", ""});
    list.add({"a.example", "two.example", "1", "", ""});
    list.add({"b.example", "one.example", "1", "", ""});
    list.add({"a.example", "one.example", "0", "", ""});
    list.sortBy(sortId);
    QCOMPARE(list.columnOf(QEtrnItem::Server), servers);
}

QTEST_MAIN(TestQEtrnItem)
#include "tst_qetrnitem.moc"
