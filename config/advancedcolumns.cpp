#include "advancedcolumns.h"

#include "vexadbtypes.h"

const DBCOL dbcol_advanced[] = {
    {VEXADB_INT, "ReverseLookup", 0},
    {VEXADB_STRING, "PublicAdmin", 0},
    {VEXADB_INT, "ShowServerName", 0},
    {VEXADB_INT, "HideLocalIP", 0},
    {VEXADB_INT, "InsertEnvelopeTo", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_security[] = {
    {VEXADB_INT, "Mode", 0},
    {VEXADB_INT, "AuthException", 0},
    {VEXADB_STRING, "AuthAcl", 0},
    {VEXADB_INT, "SslException", 0},
    {VEXADB_STRING, "SslAcl", 0},
    {VEXADB_STRING, "DisabledMethods", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_cert[] = {
    {VEXADB_STRING, "issuer", 0},
    {VEXADB_STRING, "subject", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_method[] = {
    {VEXADB_STRING, "name", 0},
    {VEXADB_INT, "secure", 0},
    {0, nullptr, 0},
};
