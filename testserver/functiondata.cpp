#include "functiondata_p.h"

#include <QDateTime>
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

QStringList FunctionData::queueColumns()
{
    return {QStringLiteral("Id"), QStringLiteral("Create"), QStringLiteral("NextTry"),
            QStringLiteral("Size"), QStringLiteral("From"), QStringLiteral("To")};
}

QStringList FunctionData::connectionColumns()
{
    return {QStringLiteral("protocol"), QStringLiteral("secure"), QStringLiteral("time"),
            QStringLiteral("from"), QStringLiteral("user"), QStringLiteral("info")};
}

namespace {

// A number spread over 0 .. range-1 that follows no order of n.
quint32 scatter(quint32 n, quint32 range)
{
    return quint32((quint64(n) * 2654435761u + 12345u) % range);
}

QString timeText(quint32 minutesAgo)
{
    const QDateTime base(QDate(2026, 12, 7), QTime(9, 30));
    return base.addSecs(-qint64(minutesAgo) * 60).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

const char *const Senders[] = {"alice", "bob", "carol", "orders", "news", "billing", "dmitri"};
const char *const Domains[] = {"corvane.example", "lakeside.example", "harbour-relay.example",
                               "mail.partner.example", "lists.example.org"};
const char *const Protocols[] = {"SMTP", "POP3", "IMAP", "HTTP", "Admin"};

QString pick(const char *const *names, quint32 count, quint32 n)
{
    return QLatin1String(names[n % count]);
}

} // namespace

QList<QStringList> FunctionData::generatedQueue(int count, int first)
{
    QList<QStringList> rows;
    rows.reserve(count);
    for (int i = first; i < first + count; ++i) {
        const quint32 n = quint32(i);
        const quint32 age = scatter(n, 7 * 24 * 60);
        rows.append({QStringLiteral("Q%1").arg(scatter(n, 100000000u), 8, 16, QLatin1Char('0')),
                     timeText(age), timeText(age > 30 ? age - 30 : 0),
                     QString::number(300 + scatter(n * 7 + 3, 4000000)),
                     pick(Senders, 7, n) + QLatin1Char('@') + pick(Domains, 5, n / 7),
                     QStringLiteral("user%1@").arg(scatter(n, 5000)) + pick(Domains, 5, n / 3)});
    }
    return rows;
}

QList<QStringList> FunctionData::generatedConnections(int count, int first)
{
    QList<QStringList> rows;
    rows.reserve(count);
    for (int i = first; i < first + count; ++i) {
        const quint32 n = quint32(i);
        const quint32 address = scatter(n, 1u << 24);
        rows.append({pick(Protocols, 5, n), QString::number(n % 3 == 0 ? 1 : 0),
                     QString::number(scatter(n, 200000)),
                     QStringLiteral("10.%1.%2.%3").arg(address >> 16).arg((address >> 8) & 255).arg(address & 255),
                     pick(Senders, 7, n / 5), QStringLiteral("session %1").arg(n)});
    }
    return rows;
}

FunctionData::RunResult FunctionData::runResult(const QString &function) const
{
    return runs.value(function.toLower());
}

namespace {

QList<QStringList> rowsFromJson(const QJsonValue &list, const QStringList &columns)
{
    QList<QStringList> rows;
    for (const QJsonValue &value : list.toArray()) {
        const QJsonObject object = value.toObject();
        QStringList cells;
        for (const QString &column : columns) {
            const QJsonValue cell = object.value(column);
            cells.append(cell.isDouble() ? QString::number(cell.toInteger()) : cell.toString());
        }
        rows.append(cells);
    }
    return rows;
}

QJsonArray rowsToJson(const QList<QStringList> &rows, const QStringList &columns)
{
    QJsonArray list;
    for (const QStringList &row : rows) {
        QJsonObject object;
        for (int c = 0; c < columns.size(); ++c)
            object.insert(columns.at(c), row.value(c));
        list.append(object);
    }
    return list;
}

} // namespace

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
    if (json.contains(QLatin1String("queue"))) {
        const QJsonObject object = json.value(QLatin1String("queue")).toObject();
        queue = rowsFromJson(object.value(QLatin1String("messages")), queueColumns());
        queue += generatedQueue(object.value(QLatin1String("generate")).toInt());
    }
    if (json.contains(QLatin1String("connections"))) {
        const QJsonObject object = json.value(QLatin1String("connections")).toObject();
        connections = rowsFromJson(object.value(QLatin1String("list")), connectionColumns());
        connections += generatedConnections(object.value(QLatin1String("generate")).toInt());
    }
    const QJsonObject runObjects = json.value(QLatin1String("runs")).toObject();
    for (auto it = runObjects.begin(); it != runObjects.end(); ++it) {
        const QJsonObject object = it.value().toObject();
        RunResult run;
        if (object.contains(QLatin1String("results"))) {
            run.results.clear();
            for (const QJsonValue &result : object.value(QLatin1String("results")).toArray())
                run.results.append(result.toInt());
        }
        run.refusal = quint32(object.value(QLatin1String("refuse")).toInteger());
        runs.insert(it.key().toLower(), run);
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
    QJsonObject runObjects;
    for (auto it = runs.begin(); it != runs.end(); ++it) {
        QJsonArray results;
        for (int result : it.value().results)
            results.append(result);
        QJsonObject object{{QLatin1String("results"), results}};
        if (it.value().refusal)
            object.insert(QLatin1String("refuse"), qint64(it.value().refusal));
        runObjects.insert(it.key(), object);
    }
    return QJsonObject{
        {QLatin1String("authTypes"), types},
        {QLatin1String("languages"), QJsonArray::fromStringList(languages)},
        {QLatin1String("ntDomains"), domains},
        {QLatin1String("queue"),
         QJsonObject{{QLatin1String("messages"), rowsToJson(queue, queueColumns())}}},
        {QLatin1String("connections"),
         QJsonObject{{QLatin1String("list"), rowsToJson(connections, connectionColumns())}}},
        {QLatin1String("runs"), runObjects},
        {QLatin1String("serviceStartsIgnored"), serviceStartsIgnored}};
}

} // namespace StandIn
