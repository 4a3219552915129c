#include "wndconnection.h"

#include "deliverycolumns.h"
#include "qconnectionitem.h"

#include <QTreeWidget>

WndConnection::WndConnection(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                             const char* name, Qt::WindowFlags fl)
    : TWndConnection(parent, name, fl)
    , ListPage(this, conn, ctrl, desktop, Menu::Status)
{
    ListSetup list;
    list.view = m_list;
    list.key = QStringLiteral("conn");
    list.version = 2;
    addList(list);
    QConnectionItem::addColumns(cols());
    loadLayouts();
    slotRefresh();
}

WndConnection::~WndConnection() = default;

void WndConnection::fillItems(int)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(m_table.m_rows.size()));
    int position = 0;
    for (const auto& row : m_table.m_rows) {
        auto* item = new QConnectionItem(nullptr, row.get(), position++, &cols());
        item->show();
        items.append(item);
    }
    ListPage::layout().addRows(items);
}

bool WndConnection::rebuildList(int)
{
    return refreshList(0, {&m_table, "show_connections()", dbcol_connection, true});
}

void WndConnection::slotRefresh()
{
    rebuildList(0);
}

void WndConnection::slotCols()
{
    modifyColumns();
}
