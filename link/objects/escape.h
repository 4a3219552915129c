#pragma once

#include <QString>

// Quotes a value for a statement, where it stands between apostrophes: a backslash,
// a double quote, an apostrophe, a line feed, a carriage return and a tab become a
// backslash and \, ", ', n, r, t. The character U+0000 is dropped, since the
// statement travels as a NUL-terminated text and would end there. Every other
// character, Latin-1 or not, is kept as it is.
//
// Every value that goes into a statement goes through this, whoever builds it.
QString escape(const QString &text);
