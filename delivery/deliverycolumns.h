#pragma once

#include "dbcol.h"

// The server tables and function answers of the delivery pages, as they read them.

// "odmr": the ETRN download entries; server and domain list make the key.
extern const DBCOL dbcol_etrn[];
// "show_queue()": Id (the key), Create, NextTry, Size, From, To.
extern const DBCOL dbcol_queue[];
// "run_queue()", "run_pop3()", "run_odmr()": result, 1 when the action was started.
extern const DBCOL dbcol_ret[];
// "show_connections()": protocol, secure, time (seconds), from, user, info.
extern const DBCOL dbcol_connection[];
// "scheduler": the scheduled actions; timetype, time and timeint make the key.
extern const DBCOL dbcol_sched[];
// "pop3": the remote mailboxes mail is collected from; user and server make the key.
extern const DBCOL dbcol_pop3[];
// "sort": the sorting rules of collected mail; sort address and recipient make the key.
extern const DBCOL dbcol_rule[];
