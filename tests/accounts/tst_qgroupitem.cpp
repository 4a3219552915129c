#include "accountcolumns.h"
#include "accountrows.h"
#include "cols.h"
#include "qgroupitem.h"

#include <QTreeWidget>
#include <QtTest>

class tst_QGroupItem : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void forms_data();
    void forms();
    void sortByDescriptionThenName();
    void hiddenNameLeavesNoIcon();

private:
    QGroupItem* add(const Cells& cells)
    {
        DBRow* row = m_groups->append();
        setCells(row, cells);
        return new QGroupItem(m_view, row, &m_cols);
    }
    QStringList namesTopToBottom() const
    {
        QStringList names;
        for (int i = 0; i < m_view->topLevelItemCount(); ++i)
            names.append(static_cast<QGroupItem*>(m_view->topLevelItem(i))->row()->m_values[0]->text());
        return names;
    }

    QTreeWidget* m_view = nullptr;
    Cols m_cols;
    DBTable* m_groups = nullptr;
};

void tst_QGroupItem::init()
{
    m_view = new QTreeWidget;
    m_cols = Cols();
    QGroupItem::addColumns(m_cols);
    m_cols.show(0); // rights too
    m_cols.view = m_view;
    m_cols.clearView();
    m_cols.fillView();
    m_groups = new DBTable;
    m_groups->m_cols = dbcol_group;
}

void tst_QGroupItem::cleanup()
{
    delete m_view;
    delete m_groups;
}

void tst_QGroupItem::forms_data()
{
    QTest::addColumn<bool>("shortForm");
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("full, read and write") << false << "3" << QStringList{"staff", "Head office", "Read/write access"};
    QTest::newRow("full, read") << false << "5" << QStringList{"staff", "Head office", "Read only access"};
    QTest::newRow("full, write bit alone") << false << "2" << QStringList{"staff", "Head office", ""};
    QTest::newRow("full, not a number") << false << "x" << QStringList{"staff", "Head office", ""};
    QTest::newRow("short, rights never shown") << true << "3" << QStringList{"[staff]", "Head office", ""};
}

void tst_QGroupItem::forms()
{
    QFETCH(bool, shortForm);
    QFETCH(QString, rights);
    QFETCH(QStringList, cells);
    QGroupItem* item = add({{"name", "staff"}, {"description", "Head office"}, {"rights", rights}});
    if (shortForm)
        item->show_min();
    else
        item->show();
    QCOMPARE((QStringList{item->text(0), item->text(1), item->text(2)}), cells);
    QVERIFY(!item->icon(0).isNull());
}

void tst_QGroupItem::sortByDescriptionThenName()
{
    for (const Cells& group : QList<Cells>{{{"name", "sales"}, {"description", "Team"}},
                                           {{"name", "admins"}, {"description", "Team"}},
                                           {{"name", "zz"}, {"description", "Office"}}})
        add(group)->show();
    m_view->sortItems(1, Qt::AscendingOrder);
    QCOMPARE(namesTopToBottom(), (QStringList{"zz", "admins", "sales"}));
}

void tst_QGroupItem::hiddenNameLeavesNoIcon()
{
    m_cols.hide(0);
    m_cols.clearView();
    m_cols.fillView();
    QGroupItem* item = add({{"name", "staff"}, {"description", "Team"}});
    item->show();
    QVERIFY(item->icon(0).isNull());
    QCOMPARE(item->key(0, false), QString("Team") + QString(16, ' '));
}

QTEST_MAIN(tst_QGroupItem)
#include "tst_qgroupitem.moc"
