#include "diffmemo_p.h"

#include "dbtable.h"

#include <algorithm>

namespace {

// The same row objects in the same places.
bool samePlaces(const DBTable::RowList &rows, const std::vector<const DBRow *> &remembered)
{
    if (rows.size() != remembered.size())
        return false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].get() != remembered[i])
            return false;
    }
    return true;
}

// Each row with the identity number it had: a row whose number changed pairs with another
// original or none, and one made where a freed row lay has a new number.
bool sameIdentities(const DBTable::RowList &rows, const std::vector<int> &ids)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]->m_id != ids[i])
            return false;
    }
    return true;
}

} // namespace

void DiffMemo::forget()
{
    m_valid = false;
    m_rows.clear();
    m_ids.clear();
    m_originals.clear();
    m_originalOf.clear();
    m_hasStatement.clear();
}

void DiffMemo::begin(const DBTable &table, bool nocase)
{
    forget();
    m_nocase = nocase;
    m_rows.reserve(table.m_rows.size());
    m_ids.reserve(table.m_rows.size());
    m_originalOf.reserve(table.m_rows.size());
    m_hasStatement.reserve(table.m_rows.size());
    m_originals.reserve(table.m_orig.size());
    for (const std::unique_ptr<DBRow> &original : table.m_orig)
        m_originals.push_back(original.get());
}

void DiffMemo::addRow(const DBRow &row, int originalPosition, bool hasStatement)
{
    m_rows.push_back(&row);
    m_ids.push_back(row.m_id);
    m_originalOf.push_back(originalPosition);
    m_hasStatement.push_back(hasStatement ? 1 : 0);
}

void DiffMemo::end(int deletes, qsizetype statements)
{
    m_deletes = deletes;
    m_statements = statements;
    m_valid = true;
}

int DiffMemo::positionOf(const DBTable &table, const DBRow *row, bool nocase) const
{
    if (!m_valid || nocase != m_nocase || table.m_statements.size() != m_statements
        || !samePlaces(table.m_rows, m_rows) || !samePlaces(table.m_orig, m_originals)
        || !sameIdentities(table.m_rows, m_ids)) {
        return Changed;
    }
    const auto found = std::find(m_rows.begin(), m_rows.end(), row);
    if (found == m_rows.end())
        return NotHere;
    return int(found - m_rows.begin());
}

qsizetype DiffMemo::slotOf(int position) const
{
    return m_deletes + std::count(m_hasStatement.begin(), m_hasStatement.begin() + position, 1);
}

void DiffMemo::setStatement(int position, bool has, qsizetype statements)
{
    m_hasStatement[size_t(position)] = has ? 1 : 0;
    m_statements = statements;
}
