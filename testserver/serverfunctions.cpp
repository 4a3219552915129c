#include "serverfunctions_p.h"

#include "catalogue_p.h"
#include "logstore_p.h"
#include "table_p.h"

#include <QDateTime>

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

// A cell of a table's first row by column name; empty when there is none.
QString firstRowCell(const Table *table, const QString &column)
{
    if (!table || table->rows().isEmpty())
        return QString();
    const int index = table->columnIndex(column);
    return index < 0 ? QString() : table->rows().first().value(index);
}

// DebugList(): the debug events and their group headings as the table "DebugEventList"
// orders them (parent, name, chkbox, desc), each with its level, the column of its name in
// the single row of "DebugEvent" (0 when that has no such column).
Answer debugList(ExecutionContext &context, const Arguments &arguments)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    const QList<Column> columns{{QStringLiteral("parent"), TypeString, false},
                                {QStringLiteral("name"), TypeString, true},
                                {QStringLiteral("level"), TypeInt, false},
                                {QStringLiteral("chkbox"), TypeInt, false},
                                {QStringLiteral("desc"), TypeString, false}};
    const Table *list = context.catalogue.table(QStringLiteral("DebugEventList"));
    const Table *events = context.catalogue.table(QStringLiteral("DebugEvent"));
    QList<QStringList> rows;
    if (list) {
        const int parent = list->columnIndex(QStringLiteral("parent"));
        const int name = list->columnIndex(QStringLiteral("name"));
        const int chkbox = list->columnIndex(QStringLiteral("chkbox"));
        const int desc = list->columnIndex(QStringLiteral("desc"));
        for (const QStringList &row : list->rows()) {
            const QString eventName = row.value(name);
            const QString level = firstRowCell(events, eventName);
            rows.append({row.value(parent), eventName, level.isEmpty() ? QStringLiteral("0") : level,
                         row.value(chkbox), row.value(desc)});
        }
    }
    return Answer::rowSet(columns, rows);
}

QList<Column> textColumns(const QStringList &names, const QList<int> &numeric)
{
    QList<Column> columns;
    for (int c = 0; c < names.size(); ++c)
        columns.append({names.at(c), numeric.contains(c) ? int(TypeInt) : int(TypeString), false});
    return columns;
}

// The messages waiting: Id (the key), Create, NextTry, Size, From, To.
Answer showQueue(ExecutionContext &context, const Arguments &arguments)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    QList<Column> columns = textColumns(FunctionData::queueColumns(), {3});
    columns[0].key = true;
    return Answer::rowSet(columns, context.catalogue.functions().queue);
}

// The connections open: protocol, secure, time in seconds, from, user, info.
Answer showConnections(ExecutionContext &context, const Arguments &arguments)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    return Answer::rowSet(textColumns(FunctionData::connectionColumns(), {1, 2}),
                          context.catalogue.functions().connections);
}

// run_queue(), run_pop3(), run_odmr(): a "result" row per configured result, 1 meaning
// that the action was started.
Answer runAction(ExecutionContext &context, const Arguments &arguments, const char *name)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    const FunctionData::RunResult run = context.catalogue.functions().runResult(QLatin1String(name));
    if (run.refusal)
        return Answer::refusal(run.refusal);
    QList<QStringList> rows;
    for (int result : run.results)
        rows.append({QString::number(result)});
    return Answer::rowSet({{QStringLiteral("result"), TypeInt, false}}, rows);
}

Answer runQueue(ExecutionContext &context, const Arguments &arguments)
{
    return runAction(context, arguments, "run_queue");
}

Answer runPop3(ExecutionContext &context, const Arguments &arguments)
{
    return runAction(context, arguments, "run_pop3");
}

Answer runOdmr(ExecutionContext &context, const Arguments &arguments)
{
    return runAction(context, arguments, "run_odmr");
}

// The position of the message with this Id (compared exactly); -1 when none waits.
int queuedMessage(const FunctionData &functions, const Arguments &arguments)
{
    if (arguments.size() != 1)
        return -1;
    for (int i = 0; i < functions.queue.size(); ++i) {
        if (functions.queue.at(i).value(0) == arguments.first().text)
            return i;
    }
    return -1;
}

// queue_rejuvenate("id"): the message is tried again now; its next try says so.
Answer queueRejuvenate(ExecutionContext &context, const Arguments &arguments)
{
    FunctionData &functions = context.catalogue.functions();
    const int message = queuedMessage(functions, arguments);
    if (message < 0)
        return Answer::refusal(arguments.size() == 1 ? StatusNotPossible : StatusWrongQuery);
    functions.queue[message][2] =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    context.dataChanged = true;
    return Answer::done(1);
}

// queue_remove("id"): the message leaves the queue.
Answer queueRemove(ExecutionContext &context, const Arguments &arguments)
{
    FunctionData &functions = context.catalogue.functions();
    const int message = queuedMessage(functions, arguments);
    if (message < 0)
        return Answer::refusal(arguments.size() == 1 ? StatusNotPossible : StatusWrongQuery);
    functions.queue.removeAt(message);
    context.dataChanged = true;
    return Answer::done(1);
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

// The advanced options page's functions. The certificate and the authentication methods
// are kept in the data's tables "certificate" (issuer, subject) and "authmethods" (name,
// secure), answered row for row.
Answer tableRows(ExecutionContext &context, const Arguments &arguments, const QString &table,
                 const QList<Column> &columns)
{
    if (!arguments.isEmpty())
        return Answer::refusal(StatusWrongQuery);
    QList<QStringList> rows;
    if (const Table *stored = context.catalogue.table(table)) {
        for (const QStringList &row : stored->rows()) {
            QStringList cells;
            for (const Column &column : columns)
                cells.append(row.value(stored->columnIndex(column.name)));
            rows.append(cells);
        }
    }
    return Answer::rowSet(columns, rows);
}

const QList<Column> &certificateColumns()
{
    static const QList<Column> columns{{QStringLiteral("issuer"), TypeString, false},
                                       {QStringLiteral("subject"), TypeString, false}};
    return columns;
}

Answer showCertificate(ExecutionContext &context, const Arguments &arguments)
{
    return tableRows(context, arguments, QStringLiteral("certificate"), certificateColumns());
}

Answer getAuthMethods(ExecutionContext &context, const Arguments &arguments)
{
    return tableRows(context, arguments, QStringLiteral("authmethods"),
                     {{QStringLiteral("name"), TypeString, false},
                      {QStringLiteral("secure"), TypeInt, false}});
}

// create_certificate("host", "unit", "organization", "city", "state", "country"): a new
// self-signed certificate, its issuer and subject the same name, empty attributes left
// out. A certificate needs a host name and a two-letter country.
Answer createCertificate(ExecutionContext &context, const Arguments &arguments)
{
    if (arguments.size() != 6)
        return Answer::refusal(StatusWrongQuery);
    const QString host = arguments.at(0).text;
    const QString country = arguments.at(5).text;
    if (host.trimmed().isEmpty() || country.size() != 2)
        return Answer::refusal(StatusNotPossible);
    const QList<QPair<QString, QString>> parts{
        {QStringLiteral("C"), country},           {QStringLiteral("ST"), arguments.at(4).text},
        {QStringLiteral("L"), arguments.at(3).text}, {QStringLiteral("O"), arguments.at(2).text},
        {QStringLiteral("OU"), arguments.at(1).text}, {QStringLiteral("CN"), host}};
    QString name;
    for (const auto &part : parts) {
        if (!part.second.isEmpty())
            name += u'/' + part.first + u'=' + part.second;
    }
    Table certificate(QStringLiteral("certificate"), certificateColumns());
    certificate.appendRow({name, name});
    context.catalogue.setTable(certificate);
    context.dataChanged = true;
    return Answer::rowSet({{QStringLiteral("result"), TypeString, false}},
                          {{QStringLiteral("OK")}});
}

const Entry Functions[] = {
    {"get_auth_types", getAuthTypes},
    {"get_avir_plugins", getAvirPlugins},
    {"get_languages", getLanguages},
    {"get_phonebook", getPhonebook},
    {"ImportNtUsers", importNtUsers},
    {"LogList", logList},
    {"LogData", logData},
    {"LogCtrl", logCtrl},
    {"DebugList", debugList},
    {"show_certificate", showCertificate},
    {"get_auth_methods", getAuthMethods},
    {"create_certificate", createCertificate},
    {"show_queue", showQueue},
    {"show_connections", showConnections},
    {"run_queue", runQueue},
    {"run_pop3", runPop3},
    {"run_odmr", runOdmr},
    {"queue_rejuvenate", queueRejuvenate},
    {"queue_remove", queueRemove},
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
