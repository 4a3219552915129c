#pragma once

#include "dbtable.h"

#include <QHash>

#include <vector>

// Finds the original of a row by identity number: the first original with that number,
// as DBTable::findorig() does. Originals loaded or committed in one run carry increasing
// numbers, which are then looked up in a compact array, next to where the previous row's
// original was; any other order is looked up through a hash.
class OriginalIndex
{
public:
    explicit OriginalIndex(const DBTable::RowList &originals);

    // The position of the original with number id, or -1; hint is where it is likely to be.
    int find(int id, int hint) const;

private:
    std::vector<int> m_ids;
    bool m_increasing = true;
    QHash<int, int> m_firstAt; // only when the numbers do not increase
};
