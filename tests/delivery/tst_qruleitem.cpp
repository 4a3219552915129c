// The rows of the sorting-rule list: their cells and their order.

#include "deliverycolumns.h"
#include "itemlist.h"
#include "qruleitem.h"

#include <QTreeWidget>
#include <QtTest>

using DeliveryFixture::row;

namespace {

struct RuleList : ItemList<QRuleItem>
{
    explicit RuleList(const QList<int>& shown = {QRuleItem::SortAddress, QRuleItem::DeliverTo})
        : ItemList(shown)
    {
    }

    QRuleItem* add(const QString& to, const QString& account)
    {
        rows.push_back(row(dbcol_rule, {to, account}));
        auto* item = new QRuleItem(&view, rows.back().get(), &cols);
        item->show();
        return item;
    }
};

} // namespace

class TestQRuleItem : public QObject
{
    Q_OBJECT

private slots:
    void cellsAndIcon();
    void hiddenRules_data();
    void hiddenRules();
    void equalCellsFollowTheOtherColumn_data();
    void equalCellsFollowTheOtherColumn();
};

void TestQRuleItem::cellsAndIcon()
{
    RuleList list;
    QRuleItem* item = list.add("sales@isp.example", "[sales]");
    QCOMPARE(list.onScreen(item), (QStringList{"sales@isp.example", "[sales]"}));
    QVERIFY(!item->icon(0).isNull());
    RuleList swapped({QRuleItem::DeliverTo, QRuleItem::SortAddress});
    QCOMPARE(swapped.onScreen(swapped.add("a@b", "ann")), (QStringList{"ann", "a@b"}));
    QCOMPARE(list.cols.titles, (QList<QString>{"Sort Address", "Deliver To"}));
}

void TestQRuleItem::hiddenRules_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("hidden");

    QTest::newRow("at sign alone") << "@" << true;
    QTest::newRow("at sign and more") << "@isp.example" << false;
    QTest::newRow("blank before") << " @" << false;
    QTest::newRow("empty") << "" << false;
}

void TestQRuleItem::hiddenRules()
{
    QFETCH(QString, to);
    QFETCH(bool, hidden);

    const auto rule = row(dbcol_rule, {to, "ann"});
    QCOMPARE(QRuleItem::isHidden(rule.get()), hidden);
}

void TestQRuleItem::equalCellsFollowTheOtherColumn_data()
{
    QTest::addColumn<int>("sortId");
    QTest::addColumn<int>("otherId");
    QTest::addColumn<QStringList>("other"); // the other column, top down

    QTest::newRow("by address, then recipient") << int(QRuleItem::SortAddress) << int(QRuleItem::DeliverTo)
                                                << QStringList{"ann", "bob", "ann"};
    QTest::newRow("by recipient, then address") << int(QRuleItem::DeliverTo) << int(QRuleItem::SortAddress)
                                                << QStringList{"a@x", "b@x", "a@x"};
}

void TestQRuleItem::equalCellsFollowTheOtherColumn()
{
    QFETCH(int, sortId);
    QFETCH(int, otherId);
    QFETCH(QStringList, other);

    RuleList list;
    list.add("b@x", "ann");
    list.add("a@x", "bob");
    list.add("a@x", "ann");
    list.sortBy(sortId);
    QCOMPARE(list.columnOf(otherId), other);
    QCOMPARE(static_cast<QRuleItem*>(list.view.topLevelItem(0))->key(5, true), QString(16, ' '));
}

QTEST_MAIN(TestQRuleItem)
#include "tst_qruleitem.moc"
