#include "qnavigationitem.h"

QNavigationItem::QNavigationItem(QTreeWidget* list, QTreeWidgetItem* after,
                                 const QString& title, const QString& description,
                                 QTreeWidgetItem* target)
    : QTreeWidgetItem(list, after, Type)
    , m_target(target)
{
    setText(0, title);
    setText(1, description);
}

QNavigationItem::~QNavigationItem() = default;
