#pragma once

#include "dbcol.h"

#include <QString>

class DBTable;
class QComboBox;

// The server's address groups: table "ipaccesslist", one row per entry of a group, a group
// being every row that shares a Name.
enum IpAclColumn { IpAclName, IpAclValue, IpAclDesc };
extern const DBCOL dbcol_ipacl[]; // Name and Value (the key), Desc

// Fills a choice box with the group names of a loaded ipaccesslist table: an empty entry
// first when withEmpty is set, then each name once, in row order. The entry equal to
// `current` is chosen; when there is none the first entry stays chosen.
void fillComboFromAcl(DBTable* acl, QComboBox* combo, QString current, bool withEmpty);
