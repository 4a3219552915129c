#include "deliveryitem.h"

#include "cols.h"

#include <QTreeWidget>

DeliveryItem::DeliveryItem(QTreeWidget* list, const Cols* cols, int type)
    : ColumnItem(list, cols, type)
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
