// The rows of the connections list: their cells and their order.

#include "deliverycolumns.h"
#include "itemlist.h"
#include "qconnectionitem.h"

#include <QtTest>

using DeliveryFixture::row;

namespace {

using C = QConnectionItem;

const QList<int> allColumns{C::Protocol, C::Secure, C::Time, C::From, C::User, C::Info};

struct ConnectionList : ItemList<QConnectionItem>
{
    explicit ConnectionList(const QList<int>& shown = allColumns)
        : ItemList(shown)
    {
    }

    QConnectionItem* add(const QStringList& texts)
    {
        const auto made = row(dbcol_connection, texts);
        auto* item = new QConnectionItem(&view, made.get(), int(view.topLevelItemCount()), &cols);
        item->show();
        return item;
    }
};

} // namespace

class TestQConnectionItem : public QObject
{
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void fromSortsByAddress_data();
    void fromSortsByAddress();
    void timeSortsByValue();
};

void TestQConnectionItem::cells_data()
{
    QTest::addColumn<QStringList>("values"); // protocol, secure, time, from, user, info
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("secured, an hour and more")
        << QStringList{"SMTP", "1", "3661", "10.0.0.1", "", "receiving"}
        << QStringList{"SMTP", "Yes", "01:01:01", "10.0.0.1", "", "receiving"};
    QTest::newRow("any non-zero secure, 100 hours")
        << QStringList{"IMAP", "7", "360000", "10.0.0.2", "ann", "INBOX"}
        << QStringList{"IMAP", "Yes", "100:00:00", "10.0.0.2", "ann", "INBOX"};
    QTest::newRow("null secure and time")
        << QStringList{"POP3", QString(), QString(), "x", "bob", ""}
        << QStringList{"POP3", "No", "00:00:00", "x", "bob", ""};
}

void TestQConnectionItem::cells()
{
    QFETCH(QStringList, values);
    QFETCH(QStringList, texts);

    ConnectionList list;
    QConnectionItem* item = list.add(values);
    QCOMPARE(list.onScreen(item), texts);
    QVERIFY(!item->icon(0).isNull());
}

void TestQConnectionItem::fromSortsByAddress_data()
{
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<QStringList>("ascending"); // the From column, top down

    // What is not an address sorts with 255.255.255.255; equals keep the order they came in.
    QTest::newRow("in its place")
        << allColumns << QStringList{"10.0.0.2", "10.0.0.10", "not an address", "255.255.255.255", ""};
    QTest::newRow("moved to the front")
        << QList<int>{C::From, C::Protocol} << QStringList{"10.0.0.2", "10.0.0.10", "not an address", "255.255.255.255", ""};
}

void TestQConnectionItem::fromSortsByAddress()
{
    QFETCH(QList<int>, shown);
    QFETCH(QStringList, ascending);

    ConnectionList list(shown);
    for (const char* from : {"not an address", "10.0.0.10", "255.255.255.255", "10.0.0.2", ""})
        list.add({"SMTP", "0", "1", QLatin1String(from), "", ""});
    list.sortBy(C::From);
    QCOMPARE(list.columnOf(C::From), ascending);
}

void TestQConnectionItem::timeSortsByValue()
{
    ConnectionList list({C::Time, C::From});
    for (const char* seconds : {"360000", "359999", "59", "36000000"})
        list.add({"SMTP", "0", QLatin1String(seconds), "10.0.0.1", "", ""});
    list.sortBy(C::Time);
    // Beyond 99 hours too, where the text order is not the order of the values.
    QCOMPARE(list.columnOf(C::Time), (QStringList{"00:00:59", "99:59:59", "100:00:00", "10000:00:00"}));
    // With "From" hidden no column sorts by address.
    ConnectionList hidden({C::Protocol, C::Info});
    QConnectionItem* a = hidden.add({"SMTP", "0", "1", "10.0.0.10", "", "b"});
    QCOMPARE(a->key(1, true), QStringLiteral("b"));
}

QTEST_MAIN(TestQConnectionItem)
#include "tst_qconnectionitem.moc"
