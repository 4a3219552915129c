#include "columnitem.h"

#include "cols.h"

#include <QIcon>

ColumnItem::ColumnItem(QTreeWidget* list, const Cols* cols, int type)
    : KeyedItem(list, type)
    , m_cols(cols)
{
}

int ColumnItem::viewColumn(int id) const
{
    if (!m_cols || id < 0 || id >= m_cols->showFlags.size() || m_cols->showFlags.at(id) == 0)
        return -1;
    return m_cols->dispinv.value(id, -1);
}

QString ColumnItem::textOfId(int id) const
{
    const int column = viewColumn(id);
    return column < 0 ? QString() : text(column);
}

void ColumnItem::setIconOfFirst(const QIcon& icon)
{
    const int column = viewColumn(0);
    if (column >= 0)
        setIcon(column, icon);
}
