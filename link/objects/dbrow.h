#pragma once

#include "dbcol.h"
#include "dbval.h"

#include <QString>

#include <memory>
#include <vector>

// One row of a client-side table: one typed value per column of its column table,
// and an identity number that copies keep.
//
// Rows made from a column table draw their number from one module-wide counter, so
// no two of them share it during a run; a copy, or a row assigned from another, is
// the same row to DBTable::diff, which pairs current rows with their originals by
// number. Copies take the value texts (DBVal::setTextOf), so a copy is deep.
//
// A row a table loaded holds only values the server sent: a null value there is a null cell
// of the answer, never a cell the answer lacked (DBTable refuses such an answer).
//
// A value's kind is the one its column's type calls for, but for a cell the server sent in
// a form that kind cannot hold as it is (a word, or "007", in a number column): that cell
// keeps the server's text in a string value (keepText), and copies keep it so. Everything
// reads and writes cells as text, so such a cell shows, compares, and is written back and
// named in a key, as exactly what the server holds.
//
// The members are public because pages read and write cells directly:
// row->m_values[row->colIndex("name")]->text().
class DBRow
{
public:
    // A row of null values of the kinds the column table's types call for.
    explicit DBRow(const DBCOL *cols);
    DBRow(const DBRow &other);
    // Keeps this row's value objects and sets them from the other row's texts; a
    // null value of the other row marks this row's value null and leaves its stored
    // content alone. Pages restore an edited row from a copy made before the edit.
    DBRow &operator=(const DBRow &other);
    ~DBRow();

    // Appends one null value per record of m_cols, in order.
    void allocEmptyValues();

    // A null value of the kind a column of type `type` holds, alone.
    static std::unique_ptr<DBVal> newValue(int type);
    // Sets value `column` from text; when its kind would hold another text (a number kind
    // given a word), the value becomes a string value holding the text itself.
    void keepText(size_t column, const QString &text);

    // The index in m_values of the first column named name, ignoring ASCII case;
    // -1 when there is none.
    int colIndex(const char *name) const;

    const DBCOL *m_cols;                          // not owned
    std::vector<std::unique_ptr<DBVal>> m_values; // one per column, owned
    bool m_matched = false;                       // set by DBTable::findorig
    int m_id;

private:
    void copyValuesFrom(const DBRow &other);
    // Whether the copy of `source` into value `column` must become a string value: the
    // source keeps a text its column's kind cannot hold (keepText).
    bool keepsSentText(size_t column, const DBVal &source) const;
};
