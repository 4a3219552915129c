// Rows put into a list's order before they go in: the same order the list's own sort gives
// the same rows, equal keys included, and nothing done to rows the list would not compare
// by their keys.

#include "keyeditem.h"

#include <QRandomGenerator>
#include <QTreeWidget>
#include <QtTest>

namespace {

enum { RowType = QTreeWidgetItem::UserType + 0x7f0 };

// A row of two columns whose second column's key is not its text: the number it shows,
// zero-padded, as the numeric columns of the pages make theirs.
class Row : public KeyedItem
{
public:
    explicit Row(const QStringList& texts, int type = RowType)
        : KeyedItem(static_cast<QTreeWidget*>(nullptr), type)
    {
        setText(0, texts.value(0));
        setText(1, texts.value(1));
    }

    QString key(int column, bool ascending) const override
    {
        if (column == 1)
            return text(1).rightJustified(6, QLatin1Char('0'));
        return KeyedItem::key(column, ascending);
    }
};

// Each row's texts and where it came from, so that rows of equal keys are told apart.
QStringList describe(const QList<QTreeWidgetItem*>& rows)
{
    QStringList described;
    for (const QTreeWidgetItem* row : rows)
        described.append(row->text(0) + QLatin1Char('/') + row->text(1) + QLatin1Char('#')
                         + row->data(0, Qt::UserRole).toString());
    return described;
}

QList<QTreeWidgetItem*> makeRows(const QList<QStringList>& texts)
{
    QList<QTreeWidgetItem*> rows;
    for (const QStringList& text : texts) {
        auto* row = new Row(text);
        row->setData(0, Qt::UserRole, rows.size());
        rows.append(row);
    }
    return rows;
}

// The order the list itself gives the rows sorting by `column`, the rows put in as given.
QStringList sortedByTheList(const QList<QStringList>& texts, int column, Qt::SortOrder order)
{
    QTreeWidget list;
    list.setColumnCount(2);
    list.addTopLevelItems(makeRows(texts));
    list.sortItems(column, order);
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        rows.append(list.topLevelItem(i));
    return describe(rows);
}

QList<QStringList> randomRows(int count, quint32 seed)
{
    // Plain words and digits (compared by their heads), others through the collation, keys
    // of more than eight characters that share their first eight, and many equal keys.
    const QStringList words{"alice", "Alice", "bob", "a-b", "j\u00fcrgen", "Q0000123A",
                            "q0000123b", "Q0000123", "user1234567", "user1234568", "007", ""};
    QRandomGenerator random(seed);
    QList<QStringList> rows;
    for (int i = 0; i < count; ++i) {
        rows.append({words.at(int(random.bounded(words.size()))),
                     QString::number(random.bounded(40))});
    }
    return rows;
}

} // namespace

class tst_KeyedItem : public QObject
{
    Q_OBJECT

private slots:
    void sortsAsTheList_data();
    void sortsAsTheList();
    void leavesRowsItWouldNotCompare_data();
    void leavesRowsItWouldNotCompare();
};

void tst_KeyedItem::sortsAsTheList_data()
{
    QTest::addColumn<QList<QStringList>>("texts");
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");

    const QList<QStringList> few{{"carol", "30"}, {"alice", "10"}, {"Bob", "20"},
                                 {"bob", "20"},   {"dave", "10"},  {"alice", "5"}};
    QTest::newRow("names, ascending") << few << 0 << Qt::AscendingOrder;
    QTest::newRow("names, descending") << few << 0 << Qt::DescendingOrder;
    QTest::newRow("numbers by their keys, equal ones as they came") << few << 1 << Qt::AscendingOrder;
    QTest::newRow("numbers descending, equal ones as they came") << few << 1 << Qt::DescendingOrder;
    QTest::newRow("a column the rows lack") << few << 5 << Qt::AscendingOrder;
    QTest::newRow("many, ascending") << randomRows(500, 11) << 0 << Qt::AscendingOrder;
    QTest::newRow("many, descending") << randomRows(500, 12) << 0 << Qt::DescendingOrder;
    QTest::newRow("many by number") << randomRows(500, 13) << 1 << Qt::DescendingOrder;
}

void tst_KeyedItem::sortsAsTheList()
{
    QFETCH(QList<QStringList>, texts);
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);

    QList<QTreeWidgetItem*> rows = makeRows(texts);
    QVERIFY(KeyedItem::sortInListOrder(rows, column, order));
    const QStringList sorted = describe(rows);
    qDeleteAll(rows);
    QCOMPARE(sorted, sortedByTheList(texts, column, order));
}

void tst_KeyedItem::leavesRowsItWouldNotCompare_data()
{
    QTest::addColumn<QString>("odd");
    QTest::newRow("a plain row") << "plain";
    QTest::newRow("a keyed row of another type") << "other type";
    QTest::newRow("a row with children") << "children";
}

void tst_KeyedItem::leavesRowsItWouldNotCompare()
{
    QFETCH(QString, odd);
    QList<QTreeWidgetItem*> rows = makeRows({{"carol", "3"}, {"alice", "1"}});
    if (odd == QLatin1String("plain"))
        rows.append(new QTreeWidgetItem(QStringList{"bob", "2"}, RowType));
    else if (odd == QLatin1String("other type"))
        rows.append(new Row({"bob", "2"}, RowType + 1));
    else
        rows.first()->addChild(new Row({"child", "0"}));
    const QStringList given = describe(rows);

    QVERIFY(!KeyedItem::sortInListOrder(rows, 0, Qt::AscendingOrder));
    QCOMPARE(describe(rows), given);
    qDeleteAll(rows);
}

QTEST_MAIN(tst_KeyedItem)
#include "tst_keyeditem.moc"
