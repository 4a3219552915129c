#include "deliveryitem.h"

#include "cols.h"

#include <QTreeWidget>

DeliveryItem::DeliveryItem(QTreeWidget* list, const Cols* cols, int type)
    : QTreeWidgetItem(list, type)
    , m_cols(cols)
{
}

bool DeliveryItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* list = treeWidget();
    if (other.type() != type() || type() < Type || !list)
        return QTreeWidgetItem::operator<(other);
    const int column = list->sortColumn();
    const auto& that = static_cast<const DeliveryItem&>(other);
    // A long list is sorted with a few million comparisons: keys the items hold are
    // compared where they are.
    const QString* mine = heldKey(column);
    const QString* theirs = mine ? that.heldKey(column) : nullptr;
    if (mine && theirs)
        return QString::compare(*mine, *theirs) < 0;
    return QString::compare(key(column, true), that.key(column, true)) < 0;
}

const QString* DeliveryItem::heldKey(int /*column*/) const
{
    return nullptr;
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
