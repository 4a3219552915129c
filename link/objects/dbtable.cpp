#include "dbtable.h"

#include "statements.h"
#include "vexadbtypes.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

long long decimalValue(const QString &text)
{
    return std::strtoll(text.toLatin1().constData(), nullptr, 10);
}

// Why a key text cannot identify a row, or KeyAccepted.
int keyReason(int type, const QString &text)
{
    if (text.isEmpty())
        return DBTable::KeyEmpty;
    if (type == VEXADB_IPADDR && text == QLatin1String("0.0.0.0"))
        return DBTable::KeyNullAddress;
    if (type == VEXADB_PORT && decimalValue(text) == 0)
        return DBTable::KeyZeroPort;
    if ((type == VEXADB_INT || type == VEXADB_INT64) && decimalValue(text) == 0)
        return DBTable::KeyZeroNumber;
    return DBTable::KeyAccepted;
}

QString comparable(const QString &text, bool nocase)
{
    return nocase ? text.toLower() : text;
}

// Compares the key columns of row, in order, with key, each cell on its own: a
// value that holds a separator must not make two different keys look alike.
bool hasKey(const DBRow &row, const QStringList &key, bool nocase)
{
    int k = 0;
    for (size_t c = 0; c < row.m_values.size(); ++c) {
        if (!row.m_cols[c].key)
            continue;
        if (k >= key.size() || comparable(row.m_values[c]->text(), nocase) != key.at(k))
            return false;
        ++k;
    }
    return k == key.size();
}

} // namespace

DBTable::DBTable()
    : m_alive(std::make_shared<bool>(true))
{
}

DBTable::~DBTable()
{
    *m_alive = false;
}

DBRow *DBTable::append()
{
    m_rows.push_back(std::make_unique<DBRow>(m_cols));
    return m_rows.back().get();
}

void DBTable::remove(DBRow *row)
{
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [row](const std::unique_ptr<DBRow> &r) { return r.get() == row; });
    if (found != m_rows.end())
        m_rows.erase(found);
}

bool DBTable::check_primary_key(DBRow *row, int *reason, bool nocase)
{
    QStringList key;
    for (size_t c = 0; c < row->m_values.size(); ++c) {
        if (!row->m_cols[c].key)
            continue;
        const QString text = row->m_values[c]->text();
        if (reason) {
            *reason = keyReason(row->m_cols[c].type, text);
            if (*reason != KeyAccepted)
                return false;
        }
        key.append(comparable(text, nocase));
    }

    for (const std::unique_ptr<DBRow> &other : m_rows) {
        if (other.get() != row && hasKey(*other, key, nocase))
            return false;
    }
    return true;
}

int DBTable::findorig(int id)
{
    for (size_t i = 0; i < m_orig.size(); ++i) {
        if (m_orig[i]->m_id == id) {
            m_orig[i]->m_matched = true;
            return static_cast<int>(i);
        }
    }
    return -1;
}

QStringList *DBTable::diff(bool nocase)
{
    // One index for the whole run keeps a diff linear in the rows; a page calls it
    // after every edit. The first original with a number wins, as in findorig().
    QHash<int, int> originalAt;
    originalAt.reserve(static_cast<qsizetype>(m_orig.size()));
    for (int i = static_cast<int>(m_orig.size()) - 1; i >= 0; --i) {
        m_orig[i]->m_matched = false;
        originalAt.insert(m_orig[i]->m_id, i);
    }

    m_statements.clear();
    QStringList insertsAndUpdates;
    for (const std::unique_ptr<DBRow> &row : m_rows) {
        const int position = originalAt.value(row->m_id, -1);
        QString statement;
        if (position < 0) {
            statement = make_insert(row.get(), m_table);
        } else {
            DBRow *original = m_orig[position].get();
            original->m_matched = true;
            statement = make_update(original, row.get(), m_table, nocase);
        }
        if (!statement.isEmpty())
            insertsAndUpdates.append(statement);
    }

    // Deletes go first: a row removed and one added with the same key must leave
    // the server with the added one.
    for (const std::unique_ptr<DBRow> &original : m_orig) {
        if (!original->m_matched)
            m_statements.append(make_remove(original.get(), m_table));
    }
    m_statements += insertsAndUpdates;
    return &m_statements;
}

bool DBTable::apply(bool send)
{
    if (m_statements.isEmpty())
        return true;
    // Committed before anything is sent: whatever the server makes of the
    // statements, the originals are now what the administrator last saw.
    copyRows(m_rows, m_orig);
    return !send || sendStatements();
}

void DBTable::reset()
{
    copyRows(m_orig, m_rows);
}

void DBTable::swap(DBTable &other)
{
    std::swap(m_conn, other.m_conn);
    std::swap(m_table, other.m_table);
    std::swap(m_rows, other.m_rows);
    std::swap(m_orig, other.m_orig);
    std::swap(m_cols, other.m_cols);
    std::swap(m_flags, other.m_flags);
    std::swap(m_parent, other.m_parent);
    std::swap(m_loaded, other.m_loaded);
    std::swap(m_statements, other.m_statements);
}

void DBTable::copyRows(const RowList &from, RowList &to)
{
    to.clear();
    to.reserve(from.size());
    for (const std::unique_ptr<DBRow> &row : from)
        to.push_back(std::make_unique<DBRow>(*row));
}
