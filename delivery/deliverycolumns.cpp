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
