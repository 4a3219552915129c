#include "deliveryitem.h"

#include "cols.h"

#include <QTreeWidget>

DeliveryItem::DeliveryItem(QTreeWidget* list, const Cols* cols, int type)
    : ColumnItem(list, cols, type)
{
}

const QString* DeliveryItem::heldKey(int /*column*/) const
{
    return nullptr;
}
