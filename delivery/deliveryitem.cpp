#include "deliveryitem.h"

#include "cols.h"

#include <QTreeWidget>

DeliveryItem::DeliveryItem(QTreeWidget* list, const Cols* cols)
    : QTreeWidgetItem(list, Type)
    , m_cols(cols)
{
}

bool DeliveryItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* list = treeWidget();
    if (other.type() != Type || !list)
        return QTreeWidgetItem::operator<(other);
    const int column = list->sortColumn();
    const auto& that = static_cast<const DeliveryItem&>(other);
    return QString::compare(key(column, true), that.key(column, true)) < 0;
}

int DeliveryItem::viewColumn(int id) const
{
    if (!m_cols || id < 0 || id >= m_cols->showFlags.size() || m_cols->showFlags.at(id) == 0)
        return -1;
    return m_cols->dispinv.value(id, -1);
}

QString DeliveryItem::textOfId(int id) const
{
    const int column = viewColumn(id);
    return column < 0 ? QString() : text(column);
}

void DeliveryItem::setIconOfFirst(const QIcon& icon)
{
    const int column = viewColumn(0);
    if (column >= 0)
        setIcon(column, icon);
}
