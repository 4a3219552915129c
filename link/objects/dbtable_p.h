#pragma once

#include <functional>

class DBRow;
class RepeatedTexts;

// Reads cell (row, column) of an answer as DBReq::read does: true with *length the
// cell's length when it was copied into buffer, whose size *length gives on entry;
// false otherwise, with *length the needed size when only the buffer was too small.
using CellReader = std::function<bool(int row, int column, void *buffer, int *length)>;

// Fills the values of a fresh row from answer row answerRow, cell c being column c of
// the row's column table. A value is set only from a cell that arrived whole and
// fits its kind; any other cell leaves the value null, so a value is never stale or
// cut short. PWD, VOID and unknown columns are never read. With `repeated`, a STRING cell
// whose text is the one read last in its column shares that text (the rows of one answer
// read through one RepeatedTexts, in order).
//
// With `answerTypes` (one type code per column, as the answer describes its columns), a cell
// of another type than its column's is read by the answer's type and taken over through its
// text; a text the column's kind cannot hold as it is stays the row's as sent
// (DBRow::keepText). Without, every cell is read as its column's type.
//
// Returns -1 when the answer carried a cell for every column read, else the first column
// whose cell it did not carry (the reader failed without asking for a larger buffer). Its
// value is null like that of a cell that came and did not fit, but it is no value the
// server holds: the caller must not keep such a row (DBTable refuses the load), or the
// null would be written back, or stand in a key, as if the server had sent it.
int readAnswerRow(DBRow *row, int answerRow, const CellReader &read,
                  RepeatedTexts *repeated = nullptr, const int *answerTypes = nullptr);
