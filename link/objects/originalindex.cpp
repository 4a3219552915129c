#include "originalindex_p.h"

#include "dbrow.h"

#include <algorithm>

OriginalIndex::OriginalIndex(const DBTable::RowList &originals)
{
    m_ids.reserve(originals.size());
    for (const std::unique_ptr<DBRow> &original : originals) {
        if (!m_ids.empty() && original->m_id <= m_ids.back())
            m_increasing = false;
        m_ids.push_back(original->m_id);
    }
    if (m_increasing)
        return;
    m_firstAt.reserve(qsizetype(m_ids.size()));
    for (int i = int(m_ids.size()) - 1; i >= 0; --i)
        m_firstAt.insert(m_ids[size_t(i)], i);
}

int OriginalIndex::find(int id, int hint) const
{
    if (!m_increasing)
        return m_firstAt.value(id, -1);
    if (hint >= 0 && size_t(hint) < m_ids.size() && m_ids[size_t(hint)] == id)
        return hint;
    const auto found = std::lower_bound(m_ids.begin(), m_ids.end(), id);
    return found != m_ids.end() && *found == id ? int(found - m_ids.begin()) : -1;
}
