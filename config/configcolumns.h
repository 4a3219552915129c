#pragma once

#include "dbcol.h"

// The column tables of the configuration pages' server tables. None of these tables has a
// key column: each holds a single row.
extern const DBCOL dbcol_smtp[];   // "smtp"
extern const DBCOL dbcol_relay[];  // "relay"
extern const DBCOL dbcol_remote[]; // "administration"
extern const DBCOL dbcol_backup[]; // "backup"
extern const DBCOL dbcol_inter[];  // "connection"
