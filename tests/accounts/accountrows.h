#pragma once

// Client-side account tables filled in place, without a server, for the item tests.

#include "dbcol.h"
#include "dbrow.h"
#include "dbtable.h"

#include <QList>
#include <QPair>
#include <QString>

using Cells = QList<QPair<const char*, QString>>;

// Sets the named cells of a row; the others stay null.
inline void setCells(DBRow* row, const Cells& cells)
{
    for (const auto& cell : cells)
        row->m_values[std::size_t(row->colIndex(cell.first))]->set(cell.second);
}

// Makes `table` a loaded table of `cols` holding one row per entry of `rows`.
inline void fillTable(DBTable& table, const DBCOL* cols, const QList<Cells>& rows)
{
    table.m_cols = cols;
    table.m_loaded = true;
    for (const Cells& cells : rows)
        setCells(table.append(), cells);
}
