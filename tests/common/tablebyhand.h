#pragma once

// A client-side table filled as a load would leave it, without a server: each row with
// its original, pairwise alike, and the table marked loaded.

#include "dbtable.h"

#include <QList>
#include <QStringList>

#include <memory>

// Sets the row's values from the left; a null text leaves its value as it is.
inline void setRowTexts(DBRow &row, const QStringList &texts)
{
    for (int i = 0; i < texts.size() && i < int(row.m_values.size()); ++i) {
        if (!texts.at(i).isNull())
            row.m_values[i]->set(texts.at(i));
    }
}

inline void loadByHand(DBTable &table, const DBCOL *cols, const QList<QStringList> &rows,
                       const QString &name = QStringLiteral("T"))
{
    table.m_cols = cols;
    table.m_table = name;
    table.m_loaded = true;
    for (const QStringList &texts : rows) {
        auto row = std::make_unique<DBRow>(cols);
        setRowTexts(*row, texts);
        table.m_orig.push_back(std::make_unique<DBRow>(*row));
        table.m_rows.push_back(std::move(row));
    }
}
