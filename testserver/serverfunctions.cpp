#include "serverfunctions_p.h"

#include "catalogue_p.h"
#include "logstore_p.h"

namespace StandIn {

namespace {

using Arguments = QList<Statement::Argument>;

bool isNumber(const Statement::Argument &argument)
{
    const QString text = argument.text.trimmed();
    bool ok = false;
    text.toLongLong(&ok, 10);
    return ok;
}

// One row per authentication type, in the order the data gives them.
Answer getAuthTypes(ExecutionContext &context, const Arguments &arguments)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    const QList<Column> columns{{QStringLiteral("ID"), TypeInt, true},
                                {QStringLiteral("Name"), TypeString, false}};
    QList<QStringList> rows;
    for (const FunctionData::AuthType &type : context.catalogue.functions().authTypes)
        rows.append({QString::number(type.id), type.name});
    return Answer::rowSet(columns, rows);
}

// The languages web mail offers, spelled as the data spells them.
Answer getLanguages(ExecutionContext &context, const Arguments &arguments)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    const QList<Column> columns{{QStringLiteral("language"), TypeString, true}};
    QList<QStringList> rows;
    for (const QString &language : context.catalogue.functions().languages)
        rows.append({language});
    return Answer::rowSet(columns, rows);
}

// ImportNtUsers("NT domain", "mail domain"): the accounts of the NT domain. An NT domain
// the server cannot reach (one it does not know) is refused; the mail domain only names
// where the accounts are going and changes nothing here.
Answer importNtUsers(ExecutionContext &context, const Arguments &arguments)
{
    if (arguments.size() != 2)
        return Answer::refusal(StatusWrongQuery);
    const FunctionData::NtDomain *domain =
        context.catalogue.functions().ntDomain(arguments.at(0).text);
    if (!domain)
        return Answer::refusal(StatusNotPossible);
    if (domain->refusal)
        return Answer::refusal(domain->refusal);
    const QList<Column> columns{{QStringLiteral("username"), TypeString, false},
                                {QStringLiteral("fullname"), TypeString, false},
                                {QStringLiteral("description"), TypeString, false}};
    return Answer::rowSet(columns, domain->users);
}

// The dial-up lines of the server machine's phonebook, one row each: the names the data
// keeps in its table "phonebook".
Answer getPhonebook(ExecutionContext &context, const Arguments &arguments)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    QList<QStringList> rows;
    if (const Table *phonebook = context.catalogue.table(QStringLiteral("phonebook"))) {
        for (const QStringList &row : phonebook->rows())
            rows.append({row.value(0)});
    }
    return Answer::rowSet({{QStringLiteral("Name"), TypeString, false}}, rows);
}

// The anti-virus plug-ins the server could use: identifier and description, from the
// data's "avirplugins" table, in its order.
Answer getAvirPlugins(ExecutionContext &context, const Arguments &arguments)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    QList<QStringList> rows;
    if (const Table *plugins = context.catalogue.table(QStringLiteral("avirplugins"))) {
        for (const QStringList &row : plugins->rows())
            rows.append({row.value(0), row.value(1)});
    }
    return Answer::rowSet({{QStringLiteral("id"), TypeString, false},
                           {QStringLiteral("description"), TypeString, false}},
                          rows);
}

QStringList logListRow(const LogStore &logs, const QString &name)
{
    LogExtent extent;
    logs.extent(name, &extent);
    return {QString::number(extent.id), logs.name(name), QString::number(extent.end),
            QString::number(extent.first)};
}

// One row per log, or only the named one: id, name, end, first.
Answer logList(ExecutionContext &context, const Arguments &arguments)
{
    if (arguments.size() > 1)
        return Answer::refusal(StatusWrongQuery);
    const QList<Column> columns{{QStringLiteral("id"), TypeInt, true},
                                {QStringLiteral("name"), TypeString, false},
                                {QStringLiteral("end"), TypeInt, false},
                                {QStringLiteral("first"), TypeInt, false}};
    QList<QStringList> rows;
    if (arguments.isEmpty()) {
        for (const QString &name : context.logs.names())
            rows.append(logListRow(context.logs, name));
    } else if (!context.logs.name(arguments.first().text).isEmpty()) {
        rows.append(logListRow(context.logs, arguments.first().text));
    }
    return Answer::rowSet(columns, rows);
}

// LogData("name", from, count): the lines from the absolute number from on
// that lie inside the log, one row each.
Answer logData(ExecutionContext &context, const Arguments &arguments)
{
    if (arguments.size() != 3 || !isNumber(arguments.at(1)) || !isNumber(arguments.at(2)))
        return Answer::refusal(StatusWrongQuery);
    const qint64 from = arguments.at(1).text.trimmed().toLongLong();
    const qint64 count = arguments.at(2).text.trimmed().toLongLong();
    QList<QStringList> rows;
    if (from >= 0 && count > 0) {
        for (const QString &line : context.logs.lines(arguments.at(0).text, quint64(from),
                                                      quint64(count)))
            rows.append({line});
    }
    return Answer::rowSet({{QStringLiteral("line"), TypeString, false}}, rows);
}

// LogCtrl("clean", "name") empties the log; its numbering carries on.
Answer logCtrl(ExecutionContext &context, const Arguments &arguments)
{
    if (arguments.size() != 2
        || arguments.at(0).text.compare(QLatin1String("clean"), Qt::CaseInsensitive) != 0)
        return Answer::refusal(StatusWrongQuery);
    const QString name = context.logs.name(arguments.at(1).text);
    if (name.isEmpty())
        return Answer::refusal(StatusNotPossible);
    context.logs.clean(name);
    context.changedLogs.append(name);
    return Answer::rowSet({{QStringLiteral("result"), TypeString, false}},
                          {{QStringLiteral("OK")}});
}

struct Entry
{
    const char *name;
    ServerFunction function;
};

const Entry Functions[] = {
    {"get_auth_types", getAuthTypes},
    {"get_avir_plugins", getAvirPlugins},
    {"get_languages", getLanguages},
    {"get_phonebook", getPhonebook},
    {"ImportNtUsers", importNtUsers},
    {"LogList", logList},
    {"LogData", logData},
    {"LogCtrl", logCtrl},
};

} // namespace

ServerFunction ServerFunctions::find(const QString &name)
{
    for (const Entry &entry : Functions) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.function;
    }
    return nullptr;
}

QStringList ServerFunctions::names()
{
    QStringList names;
    for (const Entry &entry : Functions)
        names.append(QLatin1String(entry.name));
    return names;
}

} // namespace StandIn
