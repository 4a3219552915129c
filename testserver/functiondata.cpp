#include "functiondata_p.h"

#include <QJsonArray>

namespace StandIn {

QList<FunctionData::AuthType> FunctionData::defaultAuthTypes()
{
    return {{0, QStringLiteral("Internal")},
            {1, QStringLiteral("NT domain")},
            {2, QStringLiteral("PAM")},
            {3, QStringLiteral("Kerberos 5")}};
}

QStringList FunctionData::defaultLanguages()
{
    return {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"),
            QStringLiteral("es"), QStringLiteral("it"), QStringLiteral("cs"),
            QStringLiteral("nl")};
}

const FunctionData::NtDomain *FunctionData::ntDomain(const QString &name) const
{
    for (const NtDomain &domain : ntDomains) {
        if (domain.name.compare(name, Qt::CaseInsensitive) == 0)
            return &domain;
    }
    return nullptr;
}

void FunctionData::setNtDomain(const NtDomain &domain)
{
    for (NtDomain &existing : ntDomains) {
        if (existing.name.compare(domain.name, Qt::CaseInsensitive) == 0) {
            existing = domain;
            return;
        }
    }
    ntDomains.append(domain);
}

bool FunctionData::mergeJson(const QJsonObject &json, QString *error)
{
    if (json.contains(QLatin1String("authTypes"))) {
        authTypes.clear();
        for (const QJsonValue &value : json.value(QLatin1String("authTypes")).toArray()) {
            const QJsonObject type = value.toObject();
            if (!type.value(QLatin1String("ID")).isDouble()) {
                *error = QStringLiteral("an authentication type needs a numeric ID");
                return false;
            }
            authTypes.append({type.value(QLatin1String("ID")).toInt(),
                              type.value(QLatin1String("Name")).toString()});
        }
    }
    if (json.contains(QLatin1String("languages"))) {
        languages.clear();
        for (const QJsonValue &value : json.value(QLatin1String("languages")).toArray())
            languages.append(value.toString());
    }
    for (const QJsonValue &value : json.value(QLatin1String("ntDomains")).toArray()) {
        const QJsonObject object = value.toObject();
        NtDomain domain;
        domain.name = object.value(QLatin1String("name")).toString();
        domain.refusal = quint32(object.value(QLatin1String("refuse")).toInteger());
        for (const QJsonValue &user : object.value(QLatin1String("users")).toArray()) {
            const QJsonObject u = user.toObject();
            domain.users.append({u.value(QLatin1String("username")).toString(),
                                 u.value(QLatin1String("fullname")).toString(),
                                 u.value(QLatin1String("description")).toString()});
        }
        setNtDomain(domain);
    }
    if (json.contains(QLatin1String("serviceStartsIgnored")))
        serviceStartsIgnored = json.value(QLatin1String("serviceStartsIgnored")).toBool();
    return true;
}

QJsonObject FunctionData::toJson() const
{
    QJsonArray types;
    for (const AuthType &type : authTypes)
        types.append(QJsonObject{{QLatin1String("ID"), type.id}, {QLatin1String("Name"), type.name}});
    QJsonArray domains;
    for (const NtDomain &domain : ntDomains) {
        QJsonArray users;
        for (const QStringList &user : domain.users)
            users.append(QJsonObject{{QLatin1String("username"), user.value(0)},
                                     {QLatin1String("fullname"), user.value(1)},
                                     {QLatin1String("description"), user.value(2)}});
        QJsonObject object{{QLatin1String("name"), domain.name}, {QLatin1String("users"), users}};
        if (domain.refusal)
            object.insert(QLatin1String("refuse"), qint64(domain.refusal));
        domains.append(object);
    }
    return QJsonObject{{QLatin1String("authTypes"), types},
                       {QLatin1String("languages"), QJsonArray::fromStringList(languages)},
                       {QLatin1String("ntDomains"), domains},
                       {QLatin1String("serviceStartsIgnored"), serviceStartsIgnored}};
}

} // namespace StandIn
