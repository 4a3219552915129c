#include "addresslookup.h"

#include "dbtable.h"

namespace {

// True when a current row has `name` in nameColumn and `domain` in "domain".
bool holdsRow(DBTable* table, const char* nameColumn, const QString& name, DBTable* domains,
              const QString& domain)
{
    if (!table || table->m_rows.empty())
        return false;
    const QString stored = convertDomain(domains, domain);
    for (const std::unique_ptr<DBRow>& row : table->m_rows) {
        const int nameAt = row->colIndex(nameColumn);
        const int domainAt = row->colIndex("domain");
        if (nameAt < 0 || domainAt < 0)
            return false;
        if (row->m_values[nameAt]->text() == name && row->m_values[domainAt]->text() == stored)
            return true;
    }
    return false;
}

} // namespace

bool isInUsers(DBTable* users, QString name, DBTable* domains, QString domain)
{
    return holdsRow(users, "name", name, domains, domain);
}

bool isInGroups(DBTable* groups, QString name, DBTable* domains, QString domain)
{
    return holdsRow(groups, "name", name, domains, domain);
}

bool isInAliases(DBTable* aliases, QString lhs, DBTable* domains, QString domain)
{
    return holdsRow(aliases, "lhs", lhs, domains, domain);
}

QString convertDomain(DBTable* domains, QString domain)
{
    Q_UNUSED(domains)
    return domain;
}
