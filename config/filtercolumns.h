#pragma once

#include "dbcol.h"

// The column tables of the Antispam and Antivirus pages' server tables.
extern const DBCOL dbcol_antispam[]; // "antispam", a single row
extern const DBCOL dbcol_filter[];   // "HeaderFilter", keyed by header, type and content
extern const DBCOL dbcol_avir[];     // "antivir", a single row
extern const DBCOL dbcol_attach[];   // "AttachFilter", keyed by type, pattern and action
