#pragma once

#include <QtGlobal>

#include <vector>

class DBRow;
class DBTable;

// What the last DBTable::diff() found: the rows and originals it went through, which
// original each row was paired with and whether the row gave a statement. With it the
// difference after an edit of a single row is made again from that row alone: a page that
// toggles one rule of thousands need not compare them all.
class DiffMemo
{
public:
    enum { Changed = -2, NotHere = -1 };

    void forget();

    // A whole run, row by row in m_rows order.
    void begin(const DBTable &table, bool nocase);
    void addRow(const DBRow &row, int originalPosition, bool hasStatement);
    void end(int deletes, qsizetype statements);

    // Where `row` stands in the table, when the table still has the rows, originals and
    // statements the last run left, each row with the identity number it had (only cell
    // values may have changed since); NotHere for a row that is not one of them, Changed when
    // the table is no longer as it was.
    int positionOf(const DBTable &table, const DBRow *row, bool nocase) const;

    int originalOf(int position) const { return m_originalOf[size_t(position)]; }
    bool hasStatement(int position) const { return m_hasStatement[size_t(position)] != 0; }
    // Where the statement of the row at `position` stands, or would stand, in m_statements.
    qsizetype slotOf(int position) const;
    void setStatement(int position, bool has, qsizetype statements);

private:
    bool m_valid = false;
    bool m_nocase = false;
    std::vector<const DBRow *> m_rows;
    std::vector<int> m_ids;
    std::vector<const DBRow *> m_originals;
    std::vector<int> m_originalOf;
    std::vector<char> m_hasStatement;
    int m_deletes = 0;
    qsizetype m_statements = 0;
};
