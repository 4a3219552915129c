#include "accountcolumns.h"
#include "accountrows.h"
#include "cols.h"
#include "qgroupitem.h"
#include "qtemplateitem.h"
#include "quseritem.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QtTest>

// A user list as the users page builds it: the fourteen columns, those named shown.
class UserList
{
public:
    explicit UserList(const QStringList& shownTitles = {"Name", "Fullname", "Description"})
    {
        QUserItem::addColumns(cols);
        for (int id = 0; id < cols.titles.size(); ++id) {
            const bool wanted = shownTitles.contains(cols.titles.at(id));
            const int hiddenPos = int(cols.hid.indexOf(id));
            if (wanted && hiddenPos >= 0)
                cols.show(hiddenPos);
            else if (!wanted && hiddenPos < 0)
                cols.hide(int(cols.cols.indexOf(id)));
        }
        cols.view = &view;
        cols.clearView();
        cols.fillView();
        fillTable(authTypes, dbcol_auth, {{{"ID", "0"}, {"Name", "Internal"}},
                                          {{"ID", "2"}, {"Name", "PAM"}},
                                          {{"ID", "2"}, {"Name", "PAM again"}}});
        users.m_cols = dbcol_user;
    }

    QUserItem* add(const Cells& cells)
    {
        DBRow* row = users.append();
        setCells(row, cells);
        auto* item = new QUserItem(&view, row, &cols);
        item->show(authTypes);
        return item;
    }

    // The cell under the header titled `title`.
    QString cellUnder(const QTreeWidgetItem* item, const QString& title) const
    {
        for (int c = 0; c < view.columnCount(); ++c) {
            if (view.headerItem()->text(c) == title)
                return item->text(c);
        }
        return QStringLiteral("<no column %1>").arg(title);
    }

    // Sorts by the column titled `title` and reads the names top to bottom.
    QStringList namesSortedBy(const QString& title, Qt::SortOrder order = Qt::AscendingOrder)
    {
        for (int c = 0; c < view.columnCount(); ++c) {
            if (view.headerItem()->text(c) == title)
                view.sortItems(c, order);
        }
        QStringList names;
        for (int i = 0; i < view.topLevelItemCount(); ++i)
            names.append(static_cast<QUserItem*>(view.topLevelItem(i))->row()->m_values[0]->text());
        return names;
    }

    QTreeWidget view;
    Cols cols;
    DBTable users;
    DBTable authTypes;
};

const QStringList allTitles{"Name", "Fullname", "Description", "Authentication", "Account Enabled",
                            "Rights", "Quota", "Quota (messages)", "Sent Folder", "Draft Folder",
                            "Hide Folder List", "Show Only Subcribed", "Msgs. per Page", "Language"};

class tst_QUserItem : public QObject
{
    Q_OBJECT

private slots:
    void declaredColumns_data();
    void declaredColumns();
    void cells_data();
    void cells();
    void hiddenColumnsGetNoText();
    void oneIconForEveryUser();
    void sortOrder_data();
    void sortOrder();
    void itemsAddedAllAtOnce();
    void hiddenNameLeavesNoIconAndNoTieBreak();
    void showAgainReplacesTextsAndKeys();
    void shortFormUnderItsHeaders_data();
    void shortFormUnderItsHeaders();
    void findFullDesc_data();
    void findFullDesc();
};


// The pages' columns as the items number them: titles by id, and which are shown at first.
void tst_QUserItem::declaredColumns_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QList<int>>("shown");

    QTest::newRow("users") << "user" << allTitles << QList<int>{1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("groups") << "group" << QStringList{"Name", "Description", "Rights"} << QList<int>{1, 1, 0};
    QTest::newRow("templates") << "template"
        << QStringList{"Name", "Description", "Authentication", "Rights", "Quota", "Quota (messages)", "Sent Folder",
                       "Draft Folder", "Hide Folder List", "Show Only Subcribed", "Msgs. per Page", "Language"}
        << QList<int>{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

void tst_QUserItem::declaredColumns()
{
    QFETCH(QString, list);
    QFETCH(QStringList, titles);
    QFETCH(QList<int>, shown);
    Cols cols;
    if (list == "user")
        QUserItem::addColumns(cols);
    else if (list == "group")
        QGroupItem::addColumns(cols);
    else
        QTemplateItem::addColumns(cols);
    QCOMPARE(QStringList(cols.titles), titles);
    QCOMPARE(cols.showFlags, shown);
    QCOMPARE(cols.width, QList<int>(titles.size(), -1));
}

void tst_QUserItem::cells_data()
{
    QTest::addColumn<Cells>("row");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("cell");

    QTest::newRow("name") << Cells{{"name", "alice"}} << "Name" << "alice";
    QTest::newRow("full name") << Cells{{"fullname", "Alice Marlowe"}} << "Fullname" << "Alice Marlowe";
    QTest::newRow("authentication by ID") << Cells{{"auth_type", "2"}} << "Authentication" << "PAM";
    QTest::newRow("empty type reads as 0") << Cells{} << "Authentication" << "Internal";
    QTest::newRow("unknown type") << Cells{{"auth_type", "7"}} << "Authentication" << "";
    QTest::newRow("enabled") << Cells{{"account_enabled", "1"}} << "Account Enabled" << "Yes";
    QTest::newRow("enabled 2") << Cells{{"account_enabled", "2"}} << "Account Enabled" << "Yes";
    QTest::newRow("null flag") << Cells{} << "Account Enabled" << "No";
    QTest::newRow("hidden folder list as stored") << Cells{{"hidefldlist", "1"}} << "Hide Folder List" << "Yes";
    QTest::newRow("subscribed only") << Cells{{"showsub", "0"}} << "Show Only Subcribed" << "No";
    QTest::newRow("rights read") << Cells{{"rights", "1"}} << "Rights" << "Read only access";
    QTest::newRow("rights write bit alone") << Cells{{"rights", "2"}} << "Rights" << "";
    QTest::newRow("quota in MB") << Cells{{"qstorage", "1610612736"}} << "Quota" << "1536 MB";
    QTest::newRow("negative quota") << Cells{{"qstorage", "-1024"}} << "Quota" << "0";
    QTest::newRow("empty quota") << Cells{} << "Quota" << "0";
    QTest::newRow("message quota") << Cells{{"qmessage", "5000"}} << "Quota (messages)" << "5000";
    QTest::newRow("zero messages per page") << Cells{{"msgperpage", "0"}} << "Msgs. per Page" << "0";
    QTest::newRow("language") << Cells{{"preflang", "de"}} << "Language" << "de";
}

void tst_QUserItem::cells()
{
    QFETCH(Cells, row);
    QFETCH(QString, title);
    QFETCH(QString, cell);
    UserList list(allTitles);
    QCOMPARE(list.view.columnCount(), 14);
    const QUserItem* item = list.add(row);
    QCOMPARE(list.cellUnder(item, title), cell);
    QCOMPARE(item->icon(0).isNull(), false); // the name column carries the icon
}

// A hidden column has no view column: nothing of it shows anywhere.
void tst_QUserItem::hiddenColumnsGetNoText()
{
    UserList list({"Name", "Quota"});
    const QUserItem* item = list.add({{"name", "bob"}, {"fullname", "Bob Okafor"}, {"qstorage", "2048"}});
    QCOMPARE(list.view.columnCount(), 2);
    QCOMPARE(item->text(0), QString("bob"));
    QCOMPARE(item->text(1), QString("2 KB"));
}

// Made once and shared: 100,000 users do not make 100,000 pictures.
void tst_QUserItem::oneIconForEveryUser()
{
    UserList list;
    const QUserItem* first = list.add({{"name", "a"}});
    const QUserItem* second = list.add({{"name", "b"}});
    QVERIFY(!first->icon(0).isNull());
    QCOMPARE(first->icon(0).cacheKey(), second->icon(0).cacheKey());
    QCOMPARE(first->icon(0).pixmap(16, 16).size(), QSize(16, 16));
    QVERIFY(first->icon(0).pixmap(16, 16).toImage().hasAlphaChannel()); // the key colour is see-through
}

void tst_QUserItem::sortOrder_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QList<Cells>>("users");
    QTest::addColumn<QStringList>("ascending");

    // As a person reads them, under the English locale the tests run in.
    QTest::newRow("names: digits, then letters whatever their case") << "Name"
        << QList<Cells>{{{"name", "Oskar"}}, {{"name", "admin"}}, {{"name", "Zed"}}, {{"name", "007"}},
                        {{"name", "J\u00fcrgen"}}, {{"name", "alice"}}, {{"name", "jane"}}}
        << QStringList{"007", "admin", "alice", "jane", "J\u00fcrgen", "Oskar", "Zed"};
    QTest::newRow("quota by unit, then number") << "Quota"
        << QList<Cells>{{{"name", "a"}, {"qstorage", "2147483648"}}, {{"name", "b"}, {"qstorage", "1610612736"}},
                        {{"name", "c"}, {"qstorage", "1048576"}}, {{"name", "d"}, {"qstorage", "524288"}},
                        {{"name", "e"}, {"qstorage", "0"}}, {{"name", "f"}, {"qstorage", "1047552"}}}
        << QStringList{"e", "d", "f", "c", "b", "a"};
    QTest::newRow("messages per page as numbers") << "Msgs. per Page"
        << QList<Cells>{{{"name", "a"}, {"msgperpage", "100"}}, {{"name", "b"}, {"msgperpage", "5"}},
                        {{"name", "c"}, {"msgperpage", "20"}}}
        << QStringList{"b", "c", "a"};
    QTest::newRow("message quota as numbers, seven digits compare as text") << "Quota (messages)"
        << QList<Cells>{{{"name", "a"}, {"qmessage", "1000000"}}, {{"name", "b"}, {"qmessage", "0"}},
                        {{"name", "c"}, {"qmessage", "999999"}}, {{"name", "d"}, {"qmessage", "2000000"}}}
        << QStringList{"b", "a", "d", "c"};
    QTest::newRow("equal descriptions by name") << "Description"
        << QList<Cells>{{{"name", "zoe"}, {"description", "Sales"}}, {{"name", "adam"}, {"description", "Sales"}},
                        {{"name", "mia"}, {"description", "Accounts"}}}
        << QStringList{"mia", "adam", "zoe"};
    QTest::newRow("rights by label") << "Rights"
        << QList<Cells>{{{"name", "b"}, {"rights", "3"}}, {{"name", "a"}, {"rights", "1"}},
                        {{"name", "c"}, {"rights", "0"}}}
        << QStringList{"c", "a", "b"};
}

void tst_QUserItem::sortOrder()
{
    QFETCH(QString, column);
    QFETCH(QList<Cells>, users);
    QFETCH(QStringList, ascending);
    UserList list(allTitles);
    for (const Cells& user : users)
        list.add(user);
    QCOMPARE(list.namesSortedBy(column), ascending);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(list.namesSortedBy(column, Qt::DescendingOrder), descending);
}

// Made without a list, filled, then added together: the same cells and order.
void tst_QUserItem::itemsAddedAllAtOnce()
{
    UserList list(allTitles);
    QList<QTreeWidgetItem*> items;
    for (const char* quota : {"2097152", "0", "3072"}) {
        DBRow* row = list.users.append();
        setCells(row, {{"name", QString("q") + quota}, {"qstorage", quota}});
        auto* item = new QUserItem(nullptr, row, &list.cols);
        item->show(list.authTypes);
        items.append(item);
    }
    list.view.addTopLevelItems(items);
    QCOMPARE(list.cellUnder(items.first(), "Quota"), QString("2 MB"));
    QCOMPARE(list.namesSortedBy("Quota"), (QStringList{"q0", "q3072", "q2097152"}));
}

void tst_QUserItem::hiddenNameLeavesNoIconAndNoTieBreak()
{
    UserList list({"Description"});
    const QUserItem* item = list.add({{"name", "zoe"}, {"description", "Sales"}});
    QCOMPARE(item->text(0), QString("Sales"));
    QVERIFY(item->icon(0).isNull());
    QCOMPARE(item->key(0, true), QString("Sales") + QString(16, ' '));
}

// The page shows an edited row again on the same item: the texts and the order follow.
void tst_QUserItem::showAgainReplacesTextsAndKeys()
{
    UserList list;
    QUserItem* first = list.add({{"name", "a"}, {"description", "Beta"}});
    list.add({{"name", "b"}, {"description", "Gamma"}});
    QCOMPARE(list.namesSortedBy("Description"), (QStringList{"a", "b"}));
    setCells(first->row(), {{"description", "Zeta"}});
    first->show(list.authTypes);
    QCOMPARE(list.cellUnder(first, "Description"), QString("Zeta"));
    QCOMPARE(list.namesSortedBy("Description"), (QStringList{"b", "a"}));
}

void tst_QUserItem::shortFormUnderItsHeaders_data()
{
    QTest::addColumn<bool>("memberLayout");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("find dialog") << false << QStringList{"Name", "Description", "Fullname"}
                                 << QStringList{"carol", "Web team", "Carol Nguyen"};
    QTest::newRow("member list") << true << QStringList{"Name", "Full Name", "Description"}
                                 << QStringList{"carol", "Carol Nguyen", "Web team"};
}

// What the administrator reads, left to right: each value under the header naming it.
void tst_QUserItem::shortFormUnderItsHeaders()
{
    QFETCH(bool, memberLayout);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, cells);
    QTreeWidget view;
    Cols cols;
    if (memberLayout) {
        QUserItem::addMemberColumns(cols);
    } else {
        for (const char* title : {"Name", "Description", "Fullname"})
            cols.add(title, true, -1, false);
    }
    cols.view = &view;
    cols.clearView();
    cols.fillView();
    DBTable users;
    fillTable(users, dbcol_user_min, {{{"name", "carol"}, {"fullname", "Carol Nguyen"}, {"description", "Web team"}}});
    auto* item = new QUserItem(&view, users.m_rows.front().get(), &cols);
    item->show_min();
    QStringList shownHeaders, shownCells;
    for (int visual = 0; visual < view.header()->count(); ++visual) {
        const int logical = view.header()->logicalIndex(visual);
        shownHeaders.append(view.headerItem()->text(logical));
        shownCells.append(item->text(logical));
    }
    QCOMPARE(shownHeaders, headers);
    QCOMPARE(shownCells, cells);
}

void tst_QUserItem::findFullDesc_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fullname");
    QTest::addColumn<QString>("description");

    QTest::newRow("first of two domains") << "hector" << "Hector Ruiz" << "Sales";
    QTest::newRow("case differs") << "Hector" << "" << "";
    QTest::newRow("unknown") << "nobody" << "" << "";
}

void tst_QUserItem::findFullDesc()
{
    QFETCH(QString, name);
    QFETCH(QString, fullname);
    QFETCH(QString, description);
    DBTable users;
    fillTable(users, dbcol_user_min,
              {{{"name", "hector"}, {"domain", ""}, {"fullname", "Hector Ruiz"}, {"description", "Sales"}},
               {{"name", "hector"}, {"domain", "lakeside.example"}, {"fullname", "H. Ruiz"}, {"description", "Lake"}}});
    QString foundFullname = "left from before", foundDescription = "left from before";
    FindFullDesc(&users, name, foundFullname, foundDescription);
    QCOMPARE(foundFullname, fullname);
    QCOMPARE(foundDescription, description);
}

QTEST_MAIN(tst_QUserItem)
#include "tst_quseritem.moc"
