#include "ipaccesslist.h"

#include "namecombo.h"
#include "vexadbtypes.h"

const DBCOL dbcol_ipacl[] = {
    {VEXADB_STRING, "Name", 1},
    {VEXADB_STRING, "Value", 1},
    {VEXADB_STRING, "Desc", 0},
    {0, nullptr, 0},
};

void fillComboFromAcl(DBTable* acl, QComboBox* combo, QString current, bool withEmpty)
{
    fillComboWithNames(acl, "Name", combo, current, withEmpty);
}
