#pragma once

#include "dbtable.h"

#include <QtGlobal>

#include <cstddef>

// A pass over one cell of every row of a long table waits for memory three times a row: the
// row object, its value pointers and the value lie apart, and each is found only from the
// one before. Asking for them some rows ahead, one step at a time, lets the waits of several
// rows overlap: a page that picks a few thousand rows out of a hundred thousand by one cell
// does it in about half the time. The hints change nothing and read only what the pass reads.
//
//     for (size_t i = 0; i < rows.size(); ++i) {
//         RowPrefetch::cellAhead(rows, i, column);
//         ... rows[i]->m_values[column] ...
//     }
//
// Always inlined: GCC takes a function whose only effect is a prefetch for one without
// effects and drops the calls to it.
namespace RowPrefetch {

// How many rows ahead the value is asked for; the value pointers twice and the row three
// times as far.
constexpr std::size_t Distance = 8;

Q_ALWAYS_INLINE void cellAhead(const DBTable::RowList& rows, std::size_t position, std::size_t column)
{
    const std::size_t count = rows.size();
    if (position + 3 * Distance < count)
        __builtin_prefetch(rows[position + 3 * Distance].get());
    if (position + 2 * Distance < count) {
        const auto& values = rows[position + 2 * Distance]->m_values;
        if (column < values.size())
            __builtin_prefetch(values.data() + column);
    }
    if (position + Distance < count) {
        const auto& values = rows[position + Distance]->m_values;
        if (column < values.size())
            __builtin_prefetch(values[column].get());
    }
}

} // namespace RowPrefetch
