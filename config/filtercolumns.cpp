#include "filtercolumns.h"

#include "vexadbtypes.h"

const DBCOL dbcol_antispam[] = {
    {VEXADB_INT, "Enabled", 0},
    {VEXADB_INT, "AllowAuth", 0},
    {VEXADB_STRING, "AllowAcl", 0},
    {VEXADB_INT, "DbLog", 0},
    {VEXADB_INT, "DbBlock", 0},
    {VEXADB_STRING, "AclBlock", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_filter[] = {
    {VEXADB_STRING, "header", 1},
    {VEXADB_INT, "type", 1},
    {VEXADB_STRING, "content", 1},
    {VEXADB_INT, "enabled", 0},
    {0, nullptr, 0},
};
