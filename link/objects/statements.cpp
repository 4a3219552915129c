#include "statements.h"

#include "dbrow.h"
#include "escape.h"

#include <QLatin1String>

#include <algorithm>

namespace {

// name='value', the value escaped.
void appendAssignment(QString &statement, const char *name, const QString &value)
{
    statement += QLatin1String(name);
    statement += QLatin1String("='");
    statement += escape(value);
    statement += QLatin1Char('\'');
}

int valueCount(const DBRow *row)
{
    return static_cast<int>(row->m_values.size());
}

bool hasKeyColumn(const DBRow *row)
{
    for (int i = 0; i < valueCount(row); ++i) {
        if (row->m_cols[i].key)
            return true;
    }
    return false;
}

// The key columns of row as conditions joined by " and ".
void appendKeyConditions(QString &statement, const DBRow *row)
{
    bool first = true;
    for (int i = 0; i < valueCount(row); ++i) {
        if (!row->m_cols[i].key)
            continue;
        if (!first)
            statement += QLatin1String(" and ");
        appendAssignment(statement, row->m_cols[i].name, row->m_values[i]->text());
        first = false;
    }
}

} // namespace

QString make_insert(DBRow *row, const QString &table)
{
    QString statement = QLatin1String("insert ") + table + QLatin1String(" set ");
    for (int i = 0; i < valueCount(row); ++i) {
        if (i > 0)
            statement += QLatin1String(", ");
        appendAssignment(statement, row->m_cols[i].name, row->m_values[i]->text());
    }
    return statement;
}

QString make_update(DBRow *orig, DBRow *cur, const QString &table, bool nocase)
{
    Q_UNUSED(nocase)
    QString assignments;
    const int count = std::min(valueCount(orig), valueCount(cur));
    for (int i = 0; i < count; ++i) {
        const DBVal &value = *cur->m_values[i];
        if (value.sameText(*orig->m_values[i]))
            continue;
        if (!assignments.isEmpty())
            assignments += QLatin1String(", ");
        appendAssignment(assignments, cur->m_cols[i].name, value.text());
    }
    if (assignments.isEmpty())
        return QString();

    QString statement = QLatin1String("update ") + table + QLatin1String(" set ") + assignments;
    // Without a key the statement names no row; such tables hold a single row.
    if (hasKeyColumn(orig)) {
        statement += QLatin1String(" where ");
        appendKeyConditions(statement, orig);
    }
    return statement;
}

QString make_remove(DBRow *row, const QString &table)
{
    QString statement = QLatin1String("delete from ") + table + QLatin1String(" where ");
    appendKeyConditions(statement, row);
    return statement;
}

QString make_select(const DBCOL *cols, const QString &table, const char *where,
                    const char *fields)
{
    QString statement = QLatin1String("select ");
    if (fields) {
        statement += QString::fromUtf8(fields);
    } else {
        const int count = dbcolCount(cols);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                statement += QLatin1String(", ");
            statement += QLatin1String(cols[i].name);
        }
    }
    statement += QLatin1String(" from ") + table;
    if (where)
        statement += QLatin1String(" where ") + QString::fromUtf8(where);
    return statement;
}

QString make_call(const QString &call)
{
    return QLatin1String("select ") + call;
}
