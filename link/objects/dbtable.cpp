#include "dbtable.h"

#include "carriedout.h"
#include "diffmemo_p.h"
#include "originalindex_p.h"
#include "statements.h"
#include "vexadbtypes.h"

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
    : m_memo(std::make_unique<DiffMemo>())
    , m_alive(std::make_shared<bool>(true))
{
}

DBTable::~DBTable()
{
    *m_alive = false;
}

DBRow *DBTable::append()
{
    m_memo->forget();
    m_rows.push_back(std::make_unique<DBRow>(m_cols));
    return m_rows.back().get();
}

void DBTable::remove(DBRow *row)
{
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [row](const std::unique_ptr<DBRow> &r) { return r.get() == row; });
    if (found == m_rows.end())
        return;
    m_memo->forget();
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

bool DBTable::hasOriginal(const DBRow *row) const
{
    return originalOf(row) != nullptr;
}

const DBRow *DBTable::originalOf(const DBRow *row) const
{
    if (!row)
        return nullptr;
    for (const auto &original : m_orig) {
        if (original->m_id == row->m_id)
            return original.get();
    }
    return nullptr;
}

QStringList *DBTable::diff(bool nocase)
{
    m_statements.clear();
    if (!diffInPlace(nocase))
        diffByIdentity(nocase);
    return &m_statements;
}

bool DBTable::diffInPlace(bool nocase)
{
    // After a load, an apply or edits in place, each row stands where its original does and
    // the numbers rise, so that no two originals share one: then the original in a row's
    // place is the one diffByIdentity() would find, and one pass touches each row once.
    if (m_rows.size() != m_orig.size())
        return false;
    m_memo->begin(*this, nocase);
    QStringList updates;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        DBRow *row = m_rows[i].get();
        DBRow *original = m_orig[i].get();
        if (original->m_id != row->m_id || (i > 0 && original->m_id <= m_orig[i - 1]->m_id))
            return false;
        const QString statement = make_update(original, row, m_table, nocase);
        m_memo->addRow(*row, int(i), !statement.isEmpty());
        if (!statement.isEmpty())
            updates.append(statement);
    }
    m_statements = updates;
    m_memo->end(0, m_statements.size());
    return true;
}

void DBTable::diffByIdentity(bool nocase)
{
    const Difference difference = pairRowsWithOriginals(nocase);
    m_memo->begin(*this, nocase);
    QStringList insertsAndUpdates;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QString &statement = difference.rowStatements[i];
        m_memo->addRow(*m_rows[i], difference.originalOf[i], !statement.isEmpty());
        if (!statement.isEmpty())
            insertsAndUpdates.append(statement);
    }

    // Deletes go first: a row removed and one added with the same key must leave
    // the server with the added one.
    for (size_t i = 0; i < m_orig.size(); ++i) {
        if (!difference.matched[i])
            m_statements.append(make_remove(m_orig[i].get(), m_table));
    }
    const int deletes = int(m_statements.size());
    m_statements += insertsAndUpdates;
    m_memo->end(deletes, m_statements.size());
}

QStringList *DBTable::diffAfterEditOf(const DBRow *row, bool nocase)
{
    const int position = m_memo->positionOf(*this, row, nocase);
    if (position == DiffMemo::Changed)
        return diff(nocase);
    if (position == DiffMemo::NotHere)
        return &m_statements;
    DBRow *edited = m_rows[size_t(position)].get();
    const int original = m_memo->originalOf(position);
    const QString statement = original < 0
        ? make_insert(edited, m_table)
        : make_update(m_orig[size_t(original)].get(), edited, m_table, nocase);
    const qsizetype slot = m_memo->slotOf(position);
    const bool had = m_memo->hasStatement(position);
    if (had && !statement.isEmpty())
        m_statements[slot] = statement;
    else if (had)
        m_statements.removeAt(slot);
    else if (!statement.isEmpty())
        m_statements.insert(slot, statement);
    m_memo->setStatement(position, !statement.isEmpty(), m_statements.size());
    return &m_statements;
}

bool DBTable::apply(bool send)
{
    if (m_statements.isEmpty())
        return true;
    if (send)
        return sendStatements();
    commitAll();
    return true;
}

void DBTable::commitAll()
{
    m_memo->forget();
    copyRows(m_rows, m_orig);
}

int DBTable::storeCarriedOut(CarriedOut &done)
{
    if (done.isEmpty() || (m_flags & WithoutOriginals))
        return 0;
    // The statements of the difference as it stands, each paired with its row: the pages
    // hand theirs in after every edit, so those the apply sent are among them.
    const Difference difference = pairRowsWithOriginals(true);

    // In diff()'s order: the deletes, then the inserts and updates.
    QStringList remaining;
    int stored = 0;
    std::vector<bool> originalGoes(m_orig.size(), false);
    for (size_t i = 0; i < m_orig.size(); ++i) {
        if (difference.matched[i])
            continue;
        const QString statement = make_remove(m_orig[i].get(), m_table);
        if (done.take(statement)) {
            originalGoes[i] = true;
            ++stored;
        } else {
            remaining.append(statement);
        }
    }
    std::vector<bool> rowStored(m_rows.size(), false);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QString &statement = difference.rowStatements[i];
        if (statement.isEmpty())
            continue;
        if (done.take(statement)) {
            rowStored[i] = true;
            ++stored;
        } else {
            remaining.append(statement);
        }
    }
    if (stored == 0)
        return 0;

    // The originals in the order of their rows, those still to be deleted after them in
    // their own order: diff() gives the same statements, and a table whose every row is
    // stored again pairs its rows in place.
    RowList originals;
    originals.reserve(m_rows.size() + m_orig.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const int position = difference.originalOf[i];
        if (position < 0) {
            if (rowStored[i])
                originals.push_back(std::make_unique<DBRow>(*m_rows[i]));
            continue;
        }
        std::unique_ptr<DBRow> &original = m_orig[size_t(position)];
        // A second row with the same identity number pairs with the original placed already.
        if (!original)
            continue;
        if (rowStored[i])
            original = std::make_unique<DBRow>(*m_rows[i]);
        originals.push_back(std::move(original));
    }
    for (size_t i = 0; i < m_orig.size(); ++i) {
        if (m_orig[i] && !difference.matched[i] && !originalGoes[i])
            originals.push_back(std::move(m_orig[i]));
    }
    m_orig = std::move(originals);
    m_memo->forget();
    m_statements = remaining;
    return stored;
}

DBTable::Difference DBTable::pairRowsWithOriginals(bool nocase) const
{
    // One index for the whole run keeps a diff linear in the rows; a page calls it after
    // every edit. Which originals found their row is kept beside them, not in them: a
    // diff of a long table then writes nothing into its rows.
    const OriginalIndex originals(m_orig);
    Difference difference;
    difference.matched.assign(m_orig.size(), false);
    difference.originalOf.reserve(m_rows.size());
    difference.rowStatements.reserve(m_rows.size());
    int next = 0;
    for (const std::unique_ptr<DBRow> &row : m_rows) {
        const int position = originals.find(row->m_id, next);
        difference.originalOf.push_back(position);
        if (position < 0) {
            difference.rowStatements.push_back(make_insert(row.get(), m_table));
            continue;
        }
        difference.matched[size_t(position)] = true;
        next = position + 1;
        difference.rowStatements.push_back(
            make_update(m_orig[size_t(position)].get(), row.get(), m_table, nocase));
    }
    return difference;
}

void DBTable::reset()
{
    m_memo->forget();
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
    m_memo->forget();
    other.m_memo->forget();
}

void DBTable::copyRows(const RowList &from, RowList &to)
{
    to.clear();
    to.reserve(from.size());
    for (const std::unique_ptr<DBRow> &row : from)
        to.push_back(std::make_unique<DBRow>(*row));
}
