#pragma once

#include "dbcol.h"

// The column tables of the configuration pages' server tables. None of these tables has a
// key column but a service's run copy: each holds a single row.
extern const DBCOL dbcol_smtp[];   // "smtp"
extern const DBCOL dbcol_relay[];  // "relay"
extern const DBCOL dbcol_remote[]; // "administration"
extern const DBCOL dbcol_backup[]; // "backup"
extern const DBCOL dbcol_inter[];  // "connection"

// Each service's table ("service-smtp" and the others), read twice: the configuration that
// is edited, and the running state, which is only read.
extern const DBCOL dbcol_service[];
extern const DBCOL dbcol_service_run[];
