#include "qemptyitem.h"

QEmptyItem::QEmptyItem(QTreeWidget* list, const QString& text, QTreeWidgetItem* target)
    : QTreeWidgetItem(list, Type)
    , m_text(text)
    , m_target(target)
{
}

QEmptyItem::~QEmptyItem() = default;

void QEmptyItem::show()
{
    setText(0, m_text);
}
