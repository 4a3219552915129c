#include "deliverycolumns.h"

const DBCOL dbcol_etrn[] = {
    {1, "server", 1},
    {1, "domain", 1},
    {2, "auth", 0},
    {1, "user", 0},
    {5, "password", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_queue[] = {
    {1, "Id", 1},
    {1, "Create", 0},
    {1, "NextTry", 0},
    {2, "Size", 0},
    {1, "From", 0},
    {1, "To", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_ret[] = {
    {2, "result", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_connection[] = {
    {1, "protocol", 0},
    {2, "secure", 0},
    {2, "time", 0},
    {1, "from", 0},
    {1, "user", 0},
    {1, "info", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_sched[] = {
    {2, "timetype", 1},
    {2, "time", 1},
    {1, "timeint", 1},
    {2, "enabled", 0},
    {1, "desc", 0},
    {2, "allowdial", 0},
    {2, "action", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_pop3[] = {
    {1, "user", 1},
    {1, "server", 1},
    {7, "port", 0},
    {1, "description", 0},
    {2, "sslmode", 0},
    {1, "mbox", 0},
    {2, "auth_type", 0},
    {5, "password", 0},
    {2, "max_msgcount", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_rule[] = {
    {1, "to", 1},
    {1, "account", 1},
    {0, nullptr, 0},
};
