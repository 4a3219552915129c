#include "recipientlookup.h"

#include "accountcolumns.h"
#include "dbtable.h"
#include "domaincolumns.h"

namespace {

struct Source
{
    const char* name;
    const DBCOL* columns;
};

Source sourceOf(RecipientTables::Table table)
{
    switch (table) {
    case RecipientTables::Domains: return {"domain", dbcol_domain};
    case RecipientTables::Users: return {"user", dbcol_user_min};
    case RecipientTables::Groups: return {"group", dbcol_group};
    case RecipientTables::Aliases: return {"alias", dbcol_alias};
    }
    return {nullptr, nullptr};
}

} // namespace

bool RecipientTables::loadMissing(QWidget* parent, DBConn* conn, const QList<Table>& order) const
{
    for (Table which : order) {
        DBTable* table = which == Domains ? domains : which == Users ? users : which == Groups ? groups : aliases;
        if (!table || table->m_loaded)
            continue;
        const Source source = sourceOf(which);
        if (!table->select(parent, conn, source.name, source.columns, DBTable::ReportRefusal))
            return false;
    }
    return true;
}
