#include "keyeditem.h"

#include <QTreeWidget>

KeyedItem::KeyedItem(QTreeWidget* list, int type)
    : QTreeWidgetItem(list, type)
{
    Q_ASSERT(type >= UserType);
}

KeyedItem::KeyedItem(QTreeWidgetItem* parent, int type)
    : QTreeWidgetItem(parent, type)
{
    Q_ASSERT(type >= UserType);
}

KeyedItem::KeyedItem(QTreeWidget* list, QTreeWidgetItem* after, int type)
    : QTreeWidgetItem(list, after, type)
{
    Q_ASSERT(type >= UserType);
}

QString KeyedItem::key(int column, bool /*ascending*/) const
{
    return text(column);
}

bool KeyedItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* list = treeWidget();
    if (other.type() != type() || !list)
        return QTreeWidgetItem::operator<(other);
    const int column = list->sortColumn();
    const auto& that = static_cast<const KeyedItem&>(other);
    return sortKey(column).compare(that.sortKey(column)) < 0;
}

void KeyedItem::setData(int column, int role, const QVariant& value)
{
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        forgetKeys();
    QTreeWidgetItem::setData(column, role, value);
}

void KeyedItem::forgetKeys()
{
    m_key.reset();
}

const SortKey& KeyedItem::sortKey(int column) const
{
    column = qMax(column, 0);
    if (!m_key || m_keyColumn != column) {
        m_key.emplace(key(column, true));
        m_keyColumn = column;
    }
    return *m_key;
}
