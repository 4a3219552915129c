#pragma once

#include "dbcol.h"

// The column tables of the advanced options page. "misc" and "security" have no key
// column: each holds the server's single settings row. The other two are the answers of
// the server functions "show_certificate()" and "get_auth_methods()".
extern const DBCOL dbcol_advanced[]; // "misc"
extern const DBCOL dbcol_security[]; // "security"
extern const DBCOL dbcol_cert[];     // issuer, subject
extern const DBCOL dbcol_method[];   // name, secure
