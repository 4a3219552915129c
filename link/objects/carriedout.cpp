#include "carriedout.h"

CarriedOut::CarriedOut(const QStringList &statements)
{
    m_counts.reserve(statements.size());
    for (const QString &statement : statements)
        ++m_counts[statement];
    m_left = int(statements.size());
}

bool CarriedOut::take(const QString &statement)
{
    if (m_left == 0)
        return false;
    const auto found = m_counts.find(statement);
    if (found == m_counts.end() || *found == 0)
        return false;
    --*found;
    --m_left;
    return true;
}
