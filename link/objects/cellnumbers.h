#pragma once

#include <QString>
#include <QtGlobal>

class DBRow;

// How the text of a cell becomes a number. The pages read numbers by one of two rules, the
// one their part of the console was written with: the old C library's reading of a leading
// number, or the conversion of the whole text. Every page uses these, whichever folder it
// is in.
namespace CellNumbers {

// The number a text begins with, read as C's atoi and strtol read it: leading blanks, one
// optional sign, then the decimal digits (0-9) up to the first other character; 0 when no
// digit follows ("12abc" is 12, "abc" is 0). Beyond the range of 64 bits it stops at the
// limit.
qint64 leadingNumber(const QString& text);
// The same, stopped at the limits of an int.
int leadingInt(const QString& text);

// The whole text as a decimal int, as QString::toInt reads it (blanks around it allowed):
// 0 for an empty text, for one that is not a number as a whole ("12abc"), or beyond an int.
int wholeNumber(const QString& text);
// The whole text of the row's column `name` (found ignoring case) as a decimal int; 0 when
// there is no row, no such column or no value.
int wholeNumber(const DBRow* row, const char* name);

} // namespace CellNumbers
