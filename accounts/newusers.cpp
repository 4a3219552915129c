#include "newusers.h"

#include "accountfields.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "escape.h"

#include <QSet>

using AccountTexts::cell;

namespace {

// The settings a template gives a user, after its description, in the order written.
const char* const TemplateSettings[] = {
    "auth_type", "rights", "groups", "qstorage", "qmessage", "sentfolder", "draftfolder",
    "hidefldlist", "showsub", "msgperpage", "preflang",
};

void copySettings(DBRow* user, const DBRow* templ)
{
    for (const char* column : TemplateSettings)
        setCell(user, column, cell(templ, column));
}

void writeImported(DBRow* user, const DBRow* account, const QString& domain)
{
    NewUsers::writeDefaults(user);
    setCell(user, "name", cell(account, "username"));
    setCell(user, "fullname", cell(account, "fullname"));
    setCell(user, "description", cell(account, "description"));
    setCell(user, "domain", domain);
    setCell(user, "password", QString());
    setCell(user, "groups", QString());
    setCell(user, "rights", QStringLiteral("0"));
    setCell(user, "auth_type", QStringLiteral("1"));
    setCell(user, "qmessage", QStringLiteral("0"));
    setCell(user, "qstorage", QStringLiteral("0"));
    setCell(user, "hidefldlist", QStringLiteral("0"));
    setCell(user, "showsub", QStringLiteral("1"));
}

QSet<QString> namesInDomain(const DBTable& users, const QString& domain)
{
    QSet<QString> names;
    names.reserve(int(users.m_rows.size()));
    for (const auto& row : users.m_rows) {
        if (cell(row.get(), "domain") == domain)
            names.insert(cell(row.get(), "name").toLower());
    }
    return names;
}

} // namespace

namespace NewUsers {

void writeDefaults(DBRow* user)
{
    setCell(user, "msgperpage", QStringLiteral("20"));
    setCell(user, "sentfolder", QStringLiteral("Sent Items"));
    setCell(user, "draftfolder", QStringLiteral("Drafts"));
    setCell(user, "preflang", QStringLiteral("en"));
}

void copyTemplate(DBRow* user, const DBRow* templ)
{
    setCell(user, "description", cell(templ, "description"));
    copySettings(user, templ);
}

QString importCall(const QString& ntDomain, const QString& mailDomain)
{
    return QStringLiteral("ImportNtUsers(\"%1\", \"%2\")").arg(escape(ntDomain), escape(mailDomain));
}

QStringList importUsers(DBTable& users, const QList<DBRow*>& accounts, const DBRow* templ,
                        const QString& domain)
{
    QSet<QString> taken = namesInDomain(users, domain);
    QStringList skipped;
    for (const DBRow* account : accounts) {
        const QString name = cell(account, "username");
        if (name.isEmpty() || taken.contains(name.toLower())) {
            skipped.append(name);
            continue;
        }
        taken.insert(name.toLower());
        DBRow* user = users.append();
        writeImported(user, account, domain);
        if (!templ)
            continue;
        if (cell(user, "description").isEmpty())
            setCell(user, "description", cell(templ, "description"));
        copySettings(user, templ);
    }
    return skipped;
}

} // namespace NewUsers
