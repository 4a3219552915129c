#include "accountitem.h"

#include "accounttexts.h"
#include "cols.h"

#include <QTreeWidget>

AccountItem::AccountItem(QTreeWidget* list, DBRow* row, Cols* cols)
    : ColumnItem(list, cols, Type)
    , m_row(row)
{
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
