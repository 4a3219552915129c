#include "wndalias.h"

#include "dbrow.h"
#include "domaincolumns.h"

WndAlias::WndAlias(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name,
                   Qt::WindowFlags f)
    : TWndAlias(parent, name, f), ShownListPage(this, conn, ctrl, desktop, {"alias", dbcol_alias})
{
    addShownList(m_list, QStringLiteral("alias"), 2);
    cols().add(tr("Alias"), true, -1, false);
    cols().add(tr("Address"), true, -1, false);
    start();
}

WndAlias::~WndAlias() = default;

// An alias of the primary domain is its name alone; one of another domain is the whole
// address, so that the same name in two domains stays two entries.
QStringList WndAlias::textsById(const DBRow* row) const
{
    const QString lhs = row->m_values[AliasLhs]->text();
    const QString domain = row->m_values[AliasDomain]->text();
    return {domain.isEmpty() ? lhs : lhs + QLatin1Char('@') + domain, row->m_values[AliasRhs]->text()};
}

void WndAlias::slotCols()
{
    modifyColumns();
}
