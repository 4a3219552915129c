#include "editedkey.h"

#include "dbrow.h"
#include "dbtable.h"

namespace {

// The key cells of two rows of one table, compared exactly.
bool sameKey(const DBRow &row, const DBRow &other)
{
    for (size_t c = 0; c < row.m_values.size() && c < other.m_values.size(); ++c) {
        if (row.m_cols[c].key && row.m_values[c]->text() != other.m_values[c]->text())
            return false;
    }
    return true;
}

} // namespace

bool editedKeyAccepted(DBTable &table, DBRow *row, const DBRow &before)
{
    return sameKey(*row, before) || table.check_primary_key(row, nullptr, true);
}
