// The rows of the mail queue list: their cells, their sort keys, and the copy of the
// message each keeps once the answer it came from is gone.

#include "deliverycolumns.h"
#include "itemlist.h"
#include "qqueueitem.h"

#include <QtTest>

using DeliveryFixture::row;

namespace {

using Q = QQueueItem;

const QList<int> allColumns{Q::Id, Q::Created, Q::NextTry, Q::Size, Q::From, Q::To};

struct QueueList : ItemList<QQueueItem>
{
    explicit QueueList(const QList<int>& shown = allColumns)
        : ItemList(shown)
    {
    }

    // The item outlives the row it was made from.
    QQueueItem* add(const QStringList& texts)
    {
        const auto made = row(dbcol_queue, texts);
        auto* item = new QQueueItem(&view, made.get(), int(view.topLevelItemCount()), &cols);
        item->show();
        return item;
    }
};

QStringList message(const QString& id, const QString& size, const QString& from = "a@x.example")
{
    return {id, "2026-12-07 08:00:00", "2026-12-07 09:00:00", size, from, "b@y.example"};
}

} // namespace

class TestQQueueItem : public QObject
{
    Q_OBJECT

private slots:
    void cellsAsTheServerGivesThem_data();
    void cellsAsTheServerGivesThem();
    void sizeSortsByValueWhereverItStands_data();
    void sizeSortsByValueWhereverItStands();
    void otherColumnsSortAsText();
    void keepsItsMessageIdWhenHidden();
};

void TestQQueueItem::cellsAsTheServerGivesThem_data()
{
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("all, in id order")
        << allColumns
        << QStringList{"Q1", "2026-12-07 08:00:00", "2026-12-07 09:00:00", "1234", "a@x.example", "b@y.example"};
    QTest::newRow("moved and some hidden")
        << QList<int>{Q::To, Q::Size, Q::Id} << QStringList{"b@y.example", "1234", "Q1"};
}

void TestQQueueItem::cellsAsTheServerGivesThem()
{
    QFETCH(QList<int>, shown);
    QFETCH(QStringList, texts);

    QueueList list(shown);
    QQueueItem* item = list.add(message("Q1", "1234"));
    QCOMPARE(list.onScreen(item), texts);
    QVERIFY(!item->icon(list.cols.dispinv.at(Q::Id)).isNull());
}

void TestQQueueItem::sizeSortsByValueWhereverItStands_data()
{
    QTest::addColumn<QList<int>>("shown");

    QTest::newRow("in its place") << allColumns;
    QTest::newRow("moved to the front") << QList<int>{Q::Size, Q::Id, Q::From};
}

void TestQQueueItem::sizeSortsByValueWhereverItStands()
{
    QFETCH(QList<int>, shown);

    QueueList list(shown);
    for (const char* size : {"1048576", "999", "", "184320", "1234"})
        list.add(message(QStringLiteral("Q%1").arg(size), QLatin1String(size)));
    list.sortBy(Q::Size);
    QCOMPARE(list.columnOf(Q::Size), (QStringList{"", "999", "1234", "184320", "1048576"}));
    list.sortBy(Q::Size, Qt::DescendingOrder);
    QCOMPARE(list.columnOf(Q::Size), (QStringList{"1048576", "184320", "1234", "999", ""}));
    QQueueItem* item = static_cast<QQueueItem*>(list.view.topLevelItem(2));
    QCOMPARE(item->key(list.cols.dispinv.at(Q::Size), false), QStringLiteral("0000001234"));
}

void TestQQueueItem::otherColumnsSortAsText()
{
    QueueList list;
    list.add(message("Q10", "10", "b@x.example"));
    list.add(message("Q9", "9", "a@x.example"));
    list.add(message("Q100", "100", "c@x.example"));
    list.sortBy(Q::Id);
    QCOMPARE(list.columnOf(Q::Id), (QStringList{"Q10", "Q100", "Q9"}));
    list.sortBy(Q::From);
    QCOMPARE(list.columnOf(Q::Id), (QStringList{"Q9", "Q10", "Q100"}));
}

void TestQQueueItem::keepsItsMessageIdWhenHidden()
{
    QueueList list({Q::Size, Q::To});
    QQueueItem* item = list.add(message("Q'7\"", "5"));
    QCOMPARE(item->messageId(), QStringLiteral("Q'7\""));
    QCOMPARE(list.onScreen(item), (QStringList{"5", "b@y.example"}));
    // No column shows the id, so no icon either.
    QVERIFY(item->icon(0).isNull() && item->icon(1).isNull());
}

QTEST_MAIN(TestQQueueItem)
#include "tst_qqueueitem.moc"
