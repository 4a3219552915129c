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

// The table of the service the server calls `name` ("SMTP" is in "service-smtp"): the
// service tables' single rows name their service. Null when no service has that name.
Table *serviceTable(Catalogue &catalogue, const QString &name)
{
    for (const QString &tableName : catalogue.tableNames()) {
        if (!tableName.startsWith(QLatin1String("service-"), Qt::CaseInsensitive))
            continue;
        Table *table = catalogue.table(tableName);
        const int column = table->columnIndex(QStringLiteral("name"));
        if (column >= 0 && !table->rows().isEmpty()
            && table->rows().first().value(column).compare(name, Qt::CaseInsensitive) == 0)
            return table;
    }
    return nullptr;
}

// start_service("NAME") and stop_service("NAME") set the service's "running"; a service
// the server does not know is refused. While the data says starts are ignored, a start
// is answered as usual and the service stays as it was.
Answer setServiceRunning(ExecutionContext &context, const Arguments &arguments, bool running)
{
    if (arguments.size() != 1)
        return Answer::refusal(StatusWrongQuery);
    Table *table = serviceTable(context.catalogue, arguments.at(0).text);
    const int column = table ? table->columnIndex(QStringLiteral("running")) : -1;
    if (column < 0)
        return Answer::refusal(StatusNotPossible);
    if (!(running && context.catalogue.functions().serviceStartsIgnored)) {
        table->rows().first()[column] = running ? QStringLiteral("1") : QStringLiteral("0");
        context.dataChanged = true;
    }
    return Answer::rowSet({{QStringLiteral("result"), TypeInt, false}}, {{QStringLiteral("1")}});
}

Answer startService(ExecutionContext &context, const Arguments &arguments)
{
    return setServiceRunning(context, arguments, true);
}

Answer stopService(ExecutionContext &context, const Arguments &arguments)
{
    return setServiceRunning(context, arguments, false);
}

struct Entry
{
    const char *name;
    ServerFunction function;
};

const Entry Functions[] = {
    {"get_auth_types", getAuthTypes},
    {"get_languages", getLanguages},
    {"get_phonebook", getPhonebook},
    {"ImportNtUsers", importNtUsers},
    {"LogList", logList},
    {"LogData", logData},
    {"LogCtrl", logCtrl},
    {"start_service", startService},
    {"stop_service", stopService},
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
