#include "configcolumns.h"

#include "vexadbtypes.h"

const DBCOL dbcol_smtp[] = {
    {VEXADB_INT, "DeliveryMode", 0},
    {VEXADB_INT, "MaxConcurrency", 0},
    {VEXADB_INT, "QueueRetryInterval", 0},
    {VEXADB_INT, "QueueNotifyTimeout", 0},
    {VEXADB_INT, "QueueBounceTimeout", 0},
    {VEXADB_INT, "MaxHops", 0},
    {VEXADB_INT, "MaxMessageSize", 0},
    {VEXADB_INT, "MaxBadCommands", 0},
    {VEXADB_INT, "ClientUseSSL", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_relay[] = {
    {VEXADB_STRING, "ServerName", 0},
    {VEXADB_PORT, "ServerPort", 0},
    {VEXADB_INT, "AuthEnabled", 0},
    {VEXADB_INT, "AuthType", 0},
    {VEXADB_STRING, "AuthUser", 0},
    {VEXADB_PWD, "AuthPass", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_remote[] = {
    {VEXADB_STRING, "AdminAcl", 0},
    {VEXADB_INT, "NetEnabled", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_backup[] = {
    {VEXADB_INT, "Enabled", 0},
    {VEXADB_INT, "Mode", 0},
    {VEXADB_INT, "Local", 0},
    {VEXADB_INT, "Remote", 0},
    {VEXADB_STRING, "Format", 0},
    {VEXADB_STRING, "Address", 0},
    {VEXADB_STRING, "Admin", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_inter[] = {
    {VEXADB_INT, "OnlineMode", 0},
    {VEXADB_INT, "UseRAS", 0},
    {VEXADB_STRING, "RASLine", 0},
    {VEXADB_STRING, "RASUser", 0},
    {VEXADB_PWD, "RASPassword", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_service[] = {
    {VEXADB_STRING, "name", 0},
    {VEXADB_STRING, "fullname", 0},
    {VEXADB_PORT, "defaultport", 0},
    {VEXADB_PORT, "port", 0},
    {VEXADB_INT, "autostart", 0},
    {VEXADB_STRING, "acl", 0},
    {VEXADB_STRING, "group", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_service_run[] = {
    {VEXADB_STRING, "name", 1},
    {VEXADB_INT, "running", 0},
    {0, nullptr, 0},
};
