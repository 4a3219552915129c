#include "accountitem.h"

#include "accounttexts.h"
#include "cols.h"

#include <QTreeWidget>

AccountItem::AccountItem(QTreeWidget* list, DBRow* row, Cols* cols)
    : ColumnItem(list, cols, Type)
    , m_row(row)
{
}

bool AccountItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* list = treeWidget();
    if (other.type() != Type || !list)
        return QTreeWidgetItem::operator<(other);
    const int column = list->sortColumn();
    const auto& that = static_cast<const AccountItem&>(other);
    return QString::compare(cachedKey(column), that.cachedKey(column)) < 0;
}

const QString& AccountItem::cachedKey(int column) const
{
    if (column < 0)
        column = 0;
    if (column >= m_keys.size()) {
        m_keys.resize(column + 1);
        m_keyKnown.resize(column + 1, false);
    }
    if (!m_keyKnown.at(column)) {
        m_keys[column] = key(column, true);
        m_keyKnown[column] = true;
    }
    return m_keys.at(column);
}

void AccountItem::forgetKeys()
{
    m_keys.clear();
    m_keyKnown.clear();
}

QString AccountItem::settingsKey(int column, int quotaId, int messagesId, int perPageId) const
{
    // A model without those ids (a short form) sorts every column as text.
    if (column == viewColumn(perPageId) || column == viewColumn(messagesId))
        return AccountTexts::countKey(text(column));
    if (column == viewColumn(quotaId))
        return AccountTexts::quotaKey(text(column));
    return AccountTexts::textKey(text(column), textOfId(0));
}
