#pragma once

// Column tables shared by the row, table and statement tests.

#include "dbrow.h"
#include "tablebyhand.h"
#include "vexadbtypes.h"

#include <QStringList>

namespace testcols {

// Table T of the statement examples: a and b form the key, c is data.
inline const DBCOL example[] = {
    {VEXADB_STRING, "a", 1}, {VEXADB_STRING, "b", 1}, {VEXADB_STRING, "c", 0}, {0, nullptr, 0}};

inline const DBCOL alias[] = {
    {VEXADB_STRING, "lhs", 1}, {VEXADB_STRING, "rhs", 1}, {VEXADB_STRING, "domain", 1},
    {0, nullptr, 0}};

// A settings table: a single row, no key.
inline const DBCOL keyless[] = {
    {VEXADB_STRING, "hostname", 0}, {VEXADB_INT, "maxsize", 0}, {0, nullptr, 0}};

// One column of every type, keyed by the first.
inline const DBCOL everyType[] = {
    {VEXADB_STRING, "s", 1}, {VEXADB_STRING, "t", 0}, {VEXADB_INT, "i", 0},
    {VEXADB_INT64, "l", 0},  {VEXADB_IPADDR, "a", 0}, {VEXADB_PORT, "p", 0},
    {VEXADB_BINARY, "b", 0}, {VEXADB_IDLIST, "d", 0}, {VEXADB_PWD, "w", 0},
    {VEXADB_VOID, "v", 0},   {0, nullptr, 0}};
enum EveryTypeColumn { S, T, I, L, A, P, B, D, W, V, EveryTypeCount };

// Sets the row's values from the left; a null text leaves its value as it is.
inline void setTexts(DBRow &row, const QStringList &texts)
{
    setRowTexts(row, texts);
}

} // namespace testcols
