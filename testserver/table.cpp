#include "table_p.h"

#include "textform_p.h"

namespace StandIn {

Table::Table(const QString &name, const QList<Column> &columns)
    : m_name(name)
    , m_columns(columns)
{
}

int Table::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Table::hasKey() const
{
    for (const Column &column : m_columns) {
        if (column.key)
            return true;
    }
    return false;
}

bool Table::appendRow(const QStringList &values)
{
    QStringList row;
    row.reserve(m_columns.size());
    for (int c = 0; c < m_columns.size(); ++c) {
        QString stored;
        if (!TextForm::normalise(m_columns.at(c).type, values.value(c), &stored))
            return false;
        row.append(stored);
    }
    m_rows.append(row);
    return true;
}

// Names are the same to the server in any case: "Ann" and "ann" are one user.
bool Table::sameKey(const QStringList &a, const QStringList &b) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns.at(c).key && a.at(c).compare(b.at(c), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

int Table::findSameKey(const QStringList &row, int skipRow) const
{
    if (!hasKey())
        return -1; // rows of a table without a key never collide
    for (int r = 0; r < m_rows.size(); ++r) {
        if (r != skipRow && sameKey(m_rows.at(r), row))
            return r;
    }
    return -1;
}

} // namespace StandIn
