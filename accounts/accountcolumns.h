#pragma once

#include "dbcol.h"

// The column tables the account pages and their dialogs load the server's tables with.
// Each spells its columns as the server does and in the order the rows hold them.
extern const DBCOL dbcol_user[];     // the 18 columns of "user"; name and domain are the key
extern const DBCOL dbcol_user_min[]; // name, domain, fullname, description of "user"
extern const DBCOL dbcol_group[];    // name, domain (the key), description, rights
extern const DBCOL dbcol_template[]; // the 14 columns of "template"; tempname is the key
extern const DBCOL dbcol_domain[];   // domain (the key), type, alias, fwhost and the realms
extern const DBCOL dbcol_auth[];     // ID, Name: the answer of "get_auth_types()"
extern const DBCOL dbcol_import[];   // username, fullname, description: the answer of ImportNtUsers
extern const DBCOL dbcol_lang[];     // language: the answer of "get_languages()"
