#pragma once

#include "dbcol.h"

// The column tables of the domain subsystem's own server tables, spelled as the server
// names the columns and in the order the rows hold them. ("domain" is read with the
// account pages' dbcol_domain.)
enum AliasColumn { AliasLhs, AliasRhs, AliasDomain };
extern const DBCOL dbcol_alias[]; // lhs, rhs, domain: all three are the key
