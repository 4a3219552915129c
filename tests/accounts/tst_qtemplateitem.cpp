#include "accountcolumns.h"
#include "accountrows.h"
#include "cols.h"
#include "qtemplateitem.h"

#include <QTreeWidget>
#include <QtTest>

class tst_QTemplateItem : public QObject
{
    Q_OBJECT

private slots:
    void pageCells_data();
    void pageCells();
    void chooserPutsDefaultFirst_data();
    void chooserPutsDefaultFirst();
    void pageSortsByQuotaUnits();
};

// The page's twelve columns, all shown.
static void allColumns(Cols& cols, QTreeWidget* view)
{
    QTemplateItem::addColumns(cols);
    while (!cols.hid.isEmpty() && cols.hid.first() >= 0)
        cols.show(0);
    cols.view = view;
    cols.clearView();
    cols.fillView();
}

void tst_QTemplateItem::pageCells_data()
{
    QTest::addColumn<Cells>("row");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("full row")
        << Cells{{"tempname", "standard"}, {"description", "Standard mailbox"}, {"auth_type", "1"}, {"rights", "1"},
                 {"qstorage", "104857600"}, {"qmessage", "5000"}, {"sentfolder", "Sent"}, {"draftfolder", "Drafts"},
                 {"hidefldlist", "1"}, {"showsub", "0"}, {"msgperpage", "20"}, {"preflang", "en"}, {"domain", "x"},
                 {"groups", "staff"}}
        << QStringList{"standard", "Standard mailbox", "NT", "Read only access", "100 MB", "5000", "Sent", "Drafts",
                       "Yes", "No", "20", "en"};
    QTest::newRow("empty values, duplicate ID answers with the first")
        << Cells{{"tempname", "bare"}, {"auth_type", "3"}}
        << QStringList{"bare", "", "Kerberos", "", "0", "", "", "", "No", "No", "", ""};
}

void tst_QTemplateItem::pageCells()
{
    QFETCH(Cells, row);
    QFETCH(QStringList, cells);
    QTreeWidget view;
    Cols cols;
    allColumns(cols, &view);
    DBTable templates, authTypes;
    fillTable(templates, dbcol_template, {row});
    fillTable(authTypes, dbcol_auth, {{{"ID", "1"}, {"Name", "NT"}}, {{"ID", "3"}, {"Name", "Kerberos"}},
                                      {{"ID", "3"}, {"Name", "second"}}});
    auto* item = new QTemplateItem(&view, templates.m_rows.front().get(), &cols);
    item->show(authTypes);
    QStringList shown;
    for (int c = 0; c < view.columnCount(); ++c)
        shown.append(item->text(c));
    QCOMPARE(shown, cells);
    QVERIFY(!item->icon(0).isNull());
}

void tst_QTemplateItem::chooserPutsDefaultFirst_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("ascending");

    QTest::newRow("names before and after D") << QStringList{"sales", "Admins", "basic"}
                                              << QStringList{"Default", "Admins", "basic", "sales"};
    QTest::newRow("a name sorting before blanks") << QStringList{"!urgent"} << QStringList{"Default", "!urgent"};
}

void tst_QTemplateItem::chooserPutsDefaultFirst()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, ascending);
    QTreeWidget view;
    view.setColumnCount(2);
    DBTable templates;
    QList<Cells> rows;
    for (const QString& name : names)
        rows.append({{"tempname", name}, {"description", "about " + name}});
    fillTable(templates, dbcol_template, rows);
    auto* defaultEntry = new QTemplateItem(&view, nullptr, nullptr);
    defaultEntry->show_min();
    for (const auto& row : templates.m_rows)
        (new QTemplateItem(&view, row.get(), nullptr))->show_min();
    QCOMPARE(defaultEntry->text(1), QString());
    QVERIFY(defaultEntry->icon(0).isNull());
    view.sortItems(0, Qt::AscendingOrder);
    QStringList shown;
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        shown.append(view.topLevelItem(i)->text(0));
    QCOMPARE(shown, ascending);
    QCOMPARE(view.topLevelItem(1)->text(1), "about " + ascending.at(1));
}

void tst_QTemplateItem::pageSortsByQuotaUnits()
{
    QTreeWidget view;
    Cols cols;
    allColumns(cols, &view);
    DBTable templates, authTypes;
    fillTable(templates, dbcol_template, {{{"tempname", "g"}, {"qstorage", "1073741824"}},
                                          {{"tempname", "m"}, {"qstorage", "2097152"}},
                                          {{"tempname", "k"}, {"qstorage", "524288"}},
                                          {{"tempname", "z"}, {"qstorage", "1536"}}});
    for (const auto& row : templates.m_rows)
        (new QTemplateItem(&view, row.get(), &cols))->show(authTypes);
    view.sortItems(QTemplateItem::Quota, Qt::AscendingOrder);
    QStringList names;
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        names.append(view.topLevelItem(i)->text(0));
    QCOMPARE(names, (QStringList{"z", "k", "m", "g"}));
}

QTEST_MAIN(tst_QTemplateItem)
#include "tst_qtemplateitem.moc"
