#pragma once

#include <QString>

class DBRow;

// Reading and writing one cell of a row by its column's name, for the pages and list items
// that hold a row but not the index of the column they need.
namespace RowCells {

// The text of the row's column `name` (found ignoring case); empty when there is no row, the
// row has no such column or the value is null.
QString cell(const DBRow* row, const char* name);
// Sets the row's column `name` from text; nothing when there is no row or no such column.
void setCell(DBRow* row, const char* name, const QString& text);

} // namespace RowCells
