#pragma once

#include "testserver.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace StandIn {

// One server table: its columns and its rows, each row one stored text form per
// column (TextForm). A table's identity is the set of its key columns.
class Table
{
public:
    Table() = default;
    Table(const QString &name, const QList<Column> &columns);

    const QString &name() const { return m_name; }
    const QList<Column> &columns() const { return m_columns; }
    int columnIndex(const QString &name) const; // ignoring case; -1 if none
    bool hasKey() const;

    const QList<QStringList> &rows() const { return m_rows; }
    QList<QStringList> &rows() { return m_rows; }
    // Adds a row of text forms in column order; short rows are padded, values
    // normalised. Returns false when a value is not a text form of its column.
    bool appendRow(const QStringList &values);

    // The index of another row (not skipRow) with the same key values, compared without
    // regard to case, or -1.
    int findSameKey(const QStringList &row, int skipRow = -1) const;

private:
    bool sameKey(const QStringList &a, const QStringList &b) const;

    QString m_name;
    QList<Column> m_columns;
    QList<QStringList> m_rows;
};

} // namespace StandIn
