#include "domaincolumns.h"

#include "vexadbtypes.h"

const DBCOL dbcol_alias[] = {
    {VEXADB_STRING, "lhs", 1},
    {VEXADB_STRING, "rhs", 1},
    {VEXADB_STRING, "domain", 1},
    {0, nullptr, 0},
};
