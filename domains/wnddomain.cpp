#include "wnddomain.h"

#include "accountcolumns.h"
#include "dbrow.h"

#include <QCoreApplication>

namespace {

// The columns of "domain" in dbcol_domain's order, which is also the list's id order.
enum DomainColumn { Domain, Type, Alias, ForwardHost, NtDomain, PamService, KerberosRealm, Count };

} // namespace

WndDomain::WndDomain(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                     const char* name, Qt::WindowFlags f)
    : TWndDomain(parent, name, f), ShownListPage(this, conn, ctrl, desktop, {"domain", dbcol_domain})
{
    addShownList(m_list, QStringLiteral("domain"), 4);
    Cols& columns = cols();
    columns.add(tr("Domain"), true, -1, false);
    columns.add(tr("Type"), true, -1, false);
    columns.add(tr("Alias of"), true, -1, false);
    columns.add(tr("Forward to"), true, -1, false);
    columns.add(tr("NT Domain"), false, -1, false);
    columns.add(tr("PAM Service"), false, -1, false);
    columns.add(tr("Kerberos Realm"), false, -1, false);
    start();
}

WndDomain::~WndDomain() = default;

QString WndDomain::typeName(const QString& storedType)
{
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("WndDomain", "Primary domain"),
        QT_TRANSLATE_NOOP("WndDomain", "Local domain"),
        QT_TRANSLATE_NOOP("WndDomain", "Domain alias"),
        QT_TRANSLATE_NOOP("WndDomain", "Forwarding domain"),
    };
    bool isNumber = false;
    const int type = storedType.toInt(&isNumber);
    if (!isNumber || type < 0 || type >= int(std::size(names)))
        return storedType;
    return QCoreApplication::translate("WndDomain", names[type]);
}

QStringList WndDomain::textsById(const DBRow* row) const
{
    QStringList texts;
    for (int column = 0; column < Count; ++column)
        texts.append(row->m_values[column]->text());
    texts[Type] = typeName(texts.at(Type));
    return texts;
}

void WndDomain::slotCols()
{
    modifyColumns();
}
