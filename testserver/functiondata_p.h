#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace StandIn {

// What the account functions answer from, kept with the tables (and in the state file):
//
//   "functions": {
//     "authTypes": [{"ID": 0, "Name": "Internal"}, ...],        get_auth_types(), in order
//     "languages": ["en", "de", ...],                             get_languages(), in order
//     "ntDomains": [{"name": "CORVANE", "users": [{"username": "...", "fullname": "...",
//                    "description": "..."}, ...]},
//                   {"name": "LOCKED", "refuse": 113}, ...]      ImportNtUsers(nt, domain)
//     "serviceStartsIgnored": true                                 start_service() starts nothing
//   }
// A part left out keeps its built-in default; an NT domain not listed is refused.
struct FunctionData
{
    struct AuthType
    {
        int id = 0;
        QString name;
    };
    struct NtDomain
    {
        QString name;
        quint32 refusal = 0;       // non-zero: ImportNtUsers answers with this status
        QList<QStringList> users;  // username, fullname, description
    };

    QList<AuthType> authTypes = defaultAuthTypes();
    QStringList languages = defaultLanguages();
    QList<NtDomain> ntDomains;
    // start_service() answers without starting anything (a service that fails to start).
    bool serviceStartsIgnored = false;

    static QList<AuthType> defaultAuthTypes();
    static QStringList defaultLanguages();

    // The NT domain of that name, ignoring case (as NT does); null if none.
    const NtDomain *ntDomain(const QString &name) const;
    void setNtDomain(const NtDomain &domain);

    // Merges a "functions" object in: the parts it names replace ours, its NT domains
    // join ours (replacing those of the same name).
    bool mergeJson(const QJsonObject &json, QString *error);
    QJsonObject toJson() const;
};

} // namespace StandIn
