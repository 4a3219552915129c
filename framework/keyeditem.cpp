#include "keyeditem.h"

#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace {

// The rows as KeyedItems of one type without children; empty when any is not.
std::vector<const KeyedItem*> keyedRowsOfOneType(const QList<QTreeWidgetItem*>& rows)
{
    std::vector<const KeyedItem*> keyed;
    keyed.reserve(size_t(rows.size()));
    for (const QTreeWidgetItem* row : rows) {
        const auto* item = dynamic_cast<const KeyedItem*>(row);
        if (!item || item->type() != rows.first()->type() || item->childCount() > 0)
            return {};
        keyed.push_back(item);
    }
    return keyed;
}

} // namespace

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

bool KeyedItem::sortInListOrder(QList<QTreeWidgetItem*>& rows, int column, Qt::SortOrder order)
{
    const std::vector<const KeyedItem*> keyed = keyedRowsOfOneType(rows);
    if (keyed.empty())
        return rows.isEmpty();
    // As operator< asks for them, in one contiguous array.
    std::vector<SortKey> keys;
    keys.reserve(keyed.size());
    for (const KeyedItem* item : keyed)
        keys.emplace_back(item->key(qMax(column, 0), true));
    // The rows are sorted as small places that mostly decide by the heads they carry, so a
    // comparison rarely reads a key, let alone its text.
    struct Place
    {
        quint64 head;
        int row;
        bool hasHead;
    };
    std::vector<Place> places;
    places.reserve(keys.size());
    for (size_t row = 0; row < keys.size(); ++row)
        places.push_back({keys[row].head(), int(row), keys[row].hasHead()});
    const auto less = [&keys](const Place& a, const Place& b) {
        if (a.hasHead && b.hasHead && a.head != b.head)
            return a.head < b.head;
        return keys[size_t(a.row)].compare(keys[size_t(b.row)]) < 0;
    };
    // Stable as the list's sort is; descending, it orders by "the other is less", so rows
    // of equal keys keep their order either way.
    if (order == Qt::AscendingOrder)
        std::stable_sort(places.begin(), places.end(), less);
    else
        std::stable_sort(places.begin(), places.end(),
                         [&less](const Place& a, const Place& b) { return less(b, a); });
    const QList<QTreeWidgetItem*> given = rows;
    for (size_t i = 0; i < places.size(); ++i)
        rows[qsizetype(i)] = given[places[i].row];
    return true;
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
