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

const DBCOL dbcol_avir[] = {
    {VEXADB_INT, "AvirEnabled", 0},
    {VEXADB_STRING, "UsedPlugin", 0},
    {VEXADB_INT, "FilterEnabled", 0},
    {VEXADB_STRING, "AdminNotify", 0},
    {VEXADB_INT, "SenderNotify", 0},
    {VEXADB_INT, "Bounce", 0},
    {VEXADB_INT, "DelayIfFailed", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_attach[] = {
    {VEXADB_INT, "type", 1},
    {VEXADB_STRING, "pattern", 1},
    {VEXADB_INT, "action", 1},
    {VEXADB_INT, "enabled", 0},
    {VEXADB_INT, "order", 0},
    {0, nullptr, 0},
};
