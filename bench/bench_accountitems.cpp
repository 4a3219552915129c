// 100,000 users shown as QUserItems in all fourteen columns and sorted once by Quota and
// once by Description, beside a bare QTreeWidget filled with the same texts and sorted by
// the same columns, in the same run. The items share one icon and make each sort key once;
// like the bare list they go in all at once.
//
//     bench_accountitems [users] [runs]

#include "accountcolumns.h"
#include "benchtiming.h"
#include "cols.h"
#include "dbtable.h"
#include "quseritem.h"

#include <QApplication>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

void setCell(DBRow* row, const char* name, const QString& text)
{
    row->m_values[std::size_t(row->colIndex(name))]->set(text);
}

// Scrambled users with quotas in every unit and descriptions shared by many.
void makeUsers(DBTable& users, DBTable& authTypes, int count)
{
    users.m_cols = dbcol_user;
    for (int i = 0; i < count; ++i) {
        const int key = int((quint64(i) * 7919u) % quint64(count));
        DBRow* row = users.append();
        setCell(row, "name", QStringLiteral("user%1").arg(key, 6, 10, QLatin1Char('0')));
        setCell(row, "fullname", QStringLiteral("Person %1").arg(key));
        setCell(row, "description", QStringLiteral("Department %1").arg(key % 50));
        setCell(row, "auth_type", QString::number(key % 4));
        setCell(row, "account_enabled", QString::number(key % 2));
        setCell(row, "rights", QString::number(key % 4));
        setCell(row, "qstorage", QString::number(qint64(key % 3000 + 1) << (10 * (key % 3 + 1))));
        setCell(row, "qmessage", QString::number(key % 10000));
        setCell(row, "sentfolder", QStringLiteral("Sent"));
        setCell(row, "draftfolder", QStringLiteral("Drafts"));
        setCell(row, "hidefldlist", QString::number(key % 2));
        setCell(row, "showsub", QString::number(key % 3 == 0));
        setCell(row, "msgperpage", QString::number(10 + key % 90));
        setCell(row, "preflang", QStringLiteral("en"));
    }
    authTypes.m_cols = dbcol_auth;
    const char* names[] = {"Internal", "NT domain", "PAM", "Kerberos 5"};
    for (int id = 0; id < 4; ++id) {
        DBRow* row = authTypes.append();
        setCell(row, "ID", QString::number(id));
        setCell(row, "Name", QLatin1String(names[id]));
    }
}

void fillItems(QTreeWidget* tree, Cols& cols, const DBTable& users, const DBTable& authTypes,
               int sortColumn)
{
    tree->setSortingEnabled(false);
    cols.clearView();
    cols.fillView();
    QList<QTreeWidgetItem*> items;
    items.reserve(int(users.m_rows.size()));
    for (const auto& row : users.m_rows) {
        auto* item = new QUserItem(nullptr, row.get(), &cols);
        item->show(authTypes);
        items.append(item);
    }
    tree->addTopLevelItems(items);
    tree->sortByColumn(sortColumn, Qt::AscendingOrder);
    tree->setSortingEnabled(true);
}

// The same texts, read from items made the first time, into plain items.
void fillBare(QTreeWidget* tree, const QList<QStringList>& texts, int sortColumn)
{
    tree->setSortingEnabled(false);
    tree->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(texts.size());
    for (const QStringList& row : texts)
        items.append(new QTreeWidgetItem(row));
    tree->addTopLevelItems(items);
    tree->sortByColumn(sortColumn, Qt::AscendingOrder);
    tree->setSortingEnabled(true);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int userCount = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    DBTable users, authTypes;
    makeUsers(users, authTypes, userCount);

    QTreeWidget itemTree;
    itemTree.setRootIsDecorated(false);
    itemTree.resize(800, 600);
    itemTree.show();
    Cols cols;
    QUserItem::addColumns(cols);
    while (!cols.hid.isEmpty() && cols.hid.first() >= 0)
        cols.show(0); // all fourteen shown
    cols.view = &itemTree;

    // The texts the items show, for the bare list.
    fillItems(&itemTree, cols, users, authTypes, 0);
    QList<QStringList> texts;
    texts.reserve(userCount);
    for (int i = 0; i < itemTree.topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < itemTree.columnCount(); ++c)
            row.append(itemTree.topLevelItem(i)->text(c));
        texts.append(row);
    }

    QTreeWidget bareTree;
    bareTree.setRootIsDecorated(false);
    bareTree.setColumnCount(itemTree.columnCount());
    bareTree.resize(800, 600);
    bareTree.show();

    std::printf("%d users, %d columns, %d runs each\n", userCount, itemTree.columnCount(), runs);
    const struct { const char* title; int column; } sorts[] = {
        {"Quota", QUserItem::Quota}, {"Description", QUserItem::Description}};
    for (const auto& sort : sorts) {
        const Times bare = measure(runs, [&] { fillBare(&bareTree, texts, sort.column); });
        const Times items = measure(runs, [&] {
            fillItems(&itemTree, cols, users, authTypes, sort.column);
        });
        std::printf("sorted by %s\n", sort.title);
        report("  bare QTreeWidget fill + sort", bare, bare);
        report("  QUserItem fill (show) + sort", items, bare);
        char what[64];
        std::snprintf(what, sizeof what, "item fill and sort by %s / bare", sort.title);
        printGoal(what, bare.median > 0 ? double(items.median) / double(bare.median) : 0.0, "x", "<=", 2);
    }
    return 0;
}
