#include "shownlistpage.h"

#include "requestfailure.h"
#include "rowitem.h"

#include <QPointer>
#include <QTreeWidget>

ShownListPage::ShownListPage(QWidget* page, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                             const Table& table)
    : ListPage(page, conn, ctrl, desktop), m_source(table)
{
}

void ShownListPage::addShownList(QTreeWidget* list, const QString& key, int version)
{
    ListSetup setup;
    setup.view = list;
    setup.key = key;
    setup.version = version;
    addList(setup);
}

void ShownListPage::start()
{
    loadLayouts();
    const QPointer<QWidget> page(this->page());
    loadTables({{&m_table, m_source.name, m_source.columns}});
    // A failed load has been reported; the page still follows the main window and reads
    // the table again at the next Apply or Reset.
    if (!page)
        return;
    updateView();
    followApplyAndReset();
}

void ShownListPage::afterApply()
{
    reload();
}

void ShownListPage::afterReset()
{
    reload();
}

// A reset follows every lost connection: the page then keeps what it shows, since a load
// would only meet the loss again. A failed read leaves the rows shown as they were.
void ShownListPage::reload()
{
    if (connectionLost(m_conn))
        return;
    if (reloadTables({{&m_table, m_source.name, m_source.columns}}))
        updateView();
}

bool ShownListPage::fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item)
{
    return T2Popup::fillPopupMenu(menu, receiver, item);
}

void ShownListPage::fillItems(int list)
{
    QTreeWidget* listView = view(list);
    const Cols& model = cols(list);
    for (const std::unique_ptr<DBRow>& row : m_table.m_rows) {
        const QStringList texts = textsById(row.get());
        model.showItem(new RowItem(listView, row.get()), texts);
    }
}

DBRow* ShownListPage::rowOf(int, QTreeWidgetItem* item) const
{
    return RowItem::rowOf(item);
}
