#include "accountcolumns.h"

#include "vexadbtypes.h"

const DBCOL dbcol_user[] = {
    {VEXADB_STRING, "name", 1},
    {VEXADB_STRING, "domain", 1},
    {VEXADB_INT, "account_enabled", 0},
    {VEXADB_INT, "auth_type", 0},
    {VEXADB_INT, "rights", 0},
    {VEXADB_PWD, "password", 0},
    {VEXADB_IDLIST, "groups", 0},
    {VEXADB_INT64, "qstorage", 0},
    {VEXADB_INT, "qmessage", 0},
    {VEXADB_STRING, "fullname", 0},
    {VEXADB_STRING, "description", 0},
    {VEXADB_STRING, "sentfolder", 0},
    {VEXADB_STRING, "draftfolder", 0},
    {VEXADB_INT, "hidefldlist", 0},
    {VEXADB_INT, "showsub", 0},
    {VEXADB_INT, "msgperpage", 0},
    {VEXADB_STRING, "preflang", 0},
    {VEXADB_PWD, "pin", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_user_min[] = {
    {VEXADB_STRING, "name", 1},
    {VEXADB_STRING, "domain", 1},
    {VEXADB_STRING, "fullname", 0},
    {VEXADB_STRING, "description", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_group[] = {
    {VEXADB_STRING, "name", 1},
    {VEXADB_STRING, "domain", 1},
    {VEXADB_STRING, "description", 0},
    {VEXADB_INT, "rights", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_template[] = {
    {VEXADB_STRING, "tempname", 1},
    {VEXADB_STRING, "domain", 0},
    {VEXADB_STRING, "description", 0},
    {VEXADB_INT, "auth_type", 0},
    {VEXADB_INT, "rights", 0},
    {VEXADB_IDLIST, "groups", 0},
    {VEXADB_INT64, "qstorage", 0},
    {VEXADB_INT, "qmessage", 0},
    {VEXADB_STRING, "sentfolder", 0},
    {VEXADB_STRING, "draftfolder", 0},
    {VEXADB_INT, "hidefldlist", 0},
    {VEXADB_INT, "showsub", 0},
    {VEXADB_INT, "msgperpage", 0},
    {VEXADB_STRING, "preflang", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_domain[] = {
    {VEXADB_STRING, "domain", 1},
    {VEXADB_INT, "type", 0},
    {VEXADB_STRING, "alias", 0},
    {VEXADB_STRING, "fwhost", 0},
    {VEXADB_STRING, "ntauthdomain", 0},
    {VEXADB_STRING, "pamservice", 0},
    {VEXADB_STRING, "kerberosrealm", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_auth[] = {
    {VEXADB_INT, "ID", 0},
    {VEXADB_STRING, "Name", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_lang[] = {
    {VEXADB_STRING, "language", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_import[] = {
    {VEXADB_STRING, "username", 0},
    {VEXADB_STRING, "fullname", 0},
    {VEXADB_STRING, "description", 0},
    {0, nullptr, 0},
};
