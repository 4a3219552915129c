#include "groupedtable.h"

#include "editedkey.h"

#include <QHash>
#include <QSet>

GroupedTable::GroupedTable(const char* table, const DBCOL* columns, const char* nameColumn)
    : m_tableName(table), m_columns(columns), m_nameColumn(nameColumn)
{
}

GroupedTable::~GroupedTable()
{
    *m_alive = false;
}

bool GroupedTable::load(QWidget* parent, DBConn* conn, int flags)
{
    return m_table.select(parent, conn, m_tableName, m_columns, flags);
}

int GroupedTable::nameColumn(const DBRow* row) const
{
    return row->colIndex(m_nameColumn);
}

QString GroupedTable::nameOf(const DBRow* row) const
{
    const int column = nameColumn(row);
    return column < 0 ? QString() : row->m_values[column]->text();
}

QStringList GroupedTable::names() const
{
    QStringList names;
    QSet<QString> seen;
    for (const std::unique_ptr<DBRow>& row : m_table.m_rows) {
        const QString name = nameOf(row.get());
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    return names;
}

QList<GroupedTable::Set> GroupedTable::sets() const
{
    QList<Set> sets;
    QHash<QString, qsizetype> positions;
    for (const std::unique_ptr<DBRow>& row : m_table.m_rows) {
        const QString name = nameOf(row.get());
        auto position = positions.constFind(name);
        if (position == positions.cend()) {
            position = positions.insert(name, sets.size());
            sets.append({name, {}});
        }
        sets[*position].rows.append(row.get());
    }
    return sets;
}

bool GroupedTable::hasName(const QString& name) const
{
    return names().contains(name, Qt::CaseInsensitive);
}

QList<DBRow*> GroupedTable::rowsOf(const QString& name) const
{
    QList<DBRow*> rows;
    for (const std::unique_ptr<DBRow>& row : m_table.m_rows) {
        if (nameOf(row.get()) == name)
            rows.append(row.get());
    }
    return rows;
}

DBRow* GroupedTable::append(const QString& name)
{
    if (!m_table.m_cols)
        return nullptr;
    DBRow* row = m_table.append();
    const int column = nameColumn(row);
    if (column >= 0)
        row->m_values[column]->set(name);
    return row;
}

void GroupedTable::remove(DBRow* row)
{
    m_table.remove(row);
}

void GroupedTable::removeSet(const QString& name)
{
    for (DBRow* row : rowsOf(name))
        m_table.remove(row);
}

void GroupedTable::renameSet(const QString& from, const QString& to)
{
    for (DBRow* row : rowsOf(from))
        row->m_values[nameColumn(row)]->set(to);
}

bool GroupedTable::clashes(DBRow* row, const DBRow* before)
{
    return before ? !editedKeyAccepted(m_table, row, *before)
                  : !m_table.check_primary_key(row, nullptr, true);
}

bool GroupedTable::sendNow()
{
    const qsizetype pending = m_table.diff(true)->size();
    if (pending == 0)
        return true;
    const std::shared_ptr<bool> alive = m_alive;
    const bool sent = m_table.apply(true);
    // A failed send leaves the statements the server did not carry out.
    if (*alive && (sent || m_table.m_statements.size() < pending))
        m_changedServer = true;
    return sent;
}
