// ornel-testserver: the stand-in mail server as a program, for the demo and
// for tests that run it as a separate process. The first line on stdout is
// "listening on 127.0.0.1:PORT"; SIGINT or SIGTERM stop it cleanly.

#include "testserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <pthread.h>

namespace {

using StandIn::Malformed;
using StandIn::TestServer;

struct Growth
{
    QString log;
    double linesPerSecond = 0;
    qint64 appended = 0;
};

[[noreturn]] void failUsage(const QString &message)
{
    std::fprintf(stderr, "ornel-testserver: %s\n", qPrintable(message));
    std::exit(2);
}

// "left<sep>right" split at the last separator, so that a regular expression
// may itself hold the separator.
bool splitLast(const QString &text, QChar separator, QString *left, QString *right)
{
    const qsizetype at = text.lastIndexOf(separator);
    if (at <= 0 || at == text.size() - 1)
        return false;
    *left = text.left(at);
    *right = text.mid(at + 1);
    return true;
}

qint64 numberAfterLast(const QString &option, const QString &text, QChar separator,
                       QString *left)
{
    QString right;
    bool ok = false;
    const qint64 number = splitLast(text, separator, left, &right) ? right.toLongLong(&ok) : 0;
    if (!ok || number < 0)
        failUsage(QStringLiteral("--%1 expects X%2NUMBER, not \"%3\"").arg(option, separator, text));
    return number;
}

void addRules(const QCommandLineParser &parser, TestServer &server)
{
    QString pattern;
    for (const QString &value : parser.values(QStringLiteral("refuse"))) {
        const qint64 status = numberAfterLast(QStringLiteral("refuse"), value, u'=', &pattern);
        if (!server.refuse(pattern, quint32(status)))
            failUsage(QStringLiteral("bad expression in --refuse %1").arg(value));
    }
    for (const QString &value : parser.values(QStringLiteral("delay"))) {
        const qint64 msecs = numberAfterLast(QStringLiteral("delay"), value, u'=', &pattern);
        if (!server.delay(pattern, int(msecs)))
            failUsage(QStringLiteral("bad expression in --delay %1").arg(value));
    }
    for (const QString &value : parser.values(QStringLiteral("drop-at"))) {
        if (!server.dropAt(value))
            failUsage(QStringLiteral("bad expression in --drop-at %1").arg(value));
    }
    for (const QString &value : parser.values(QStringLiteral("silent"))) {
        if (!server.silence(value))
            failUsage(QStringLiteral("bad expression in --silent %1").arg(value));
    }
    for (const QString &value : parser.values(QStringLiteral("raw-answer"))) {
        QString hex;
        if (!splitLast(value, u'=', &pattern, &hex) || !server.answerRaw(pattern, QByteArray::fromHex(hex.toLatin1())))
            failUsage(QStringLiteral("--raw-answer expects REGEX=HEX, not \"%1\"").arg(value));
    }
    for (const QString &value : parser.values(QStringLiteral("short-answer"))) {
        const qint64 rows = numberAfterLast(QStringLiteral("short-answer"), value, u'=', &pattern);
        if (rows > INT_MAX || !server.shortenAnswer(pattern, int(rows)))
            failUsage(QStringLiteral("bad expression in --short-answer %1").arg(value));
    }
    for (const QString &value : parser.values(QStringLiteral("trickle"))) {
        const qint64 stepMs = numberAfterLast(QStringLiteral("trickle"), value, u':', &pattern);
        QString matching;
        const qint64 stepBytes = numberAfterLast(QStringLiteral("trickle"), pattern, u'=', &matching);
        if (stepBytes > INT_MAX || stepMs > INT_MAX || !server.trickle(matching, int(stepBytes), int(stepMs)))
            failUsage(QStringLiteral("--trickle expects REGEX=BYTES:MS, not \"%1\"").arg(value));
    }
    for (const QString &value : parser.values(QStringLiteral("malformed-answer"))) {
        QString how;
        const bool split = splitLast(value, u'=', &pattern, &how);
        const bool known = how == QLatin1String("rows") || how == QLatin1String("cut");
        const Malformed malformed = how == QLatin1String("rows") ? Malformed::RowCountBeyondBlock : Malformed::CutShort;
        if (!split || !known || !server.malformAnswer(pattern, malformed))
            failUsage(QStringLiteral("--malformed-answer expects REGEX=rows or REGEX=cut, not \"%1\"").arg(value));
    }
    for (const QString &value : parser.values(QStringLiteral("omit-columns"))) {
        QString columns;
        bool isCount = false;
        const bool split = splitLast(value, u'=', &pattern, &columns);
        const int count = columns.toInt(&isCount);
        const bool added = split
            && (isCount ? server.omitColumns(pattern, count)
                        : server.omitColumns(pattern, columns.split(u',', Qt::SkipEmptyParts)));
        if (!added)
            failUsage(QStringLiteral("--omit-columns expects REGEX=NAME,... or REGEX=COUNT, not \"%1\"").arg(value));
    }
}

// What the account functions answer, when the options say: "--auth-types 3:Kerberos,0:Internal"
// (empty for none), "--languages EN,de".
void setAccountFunctions(const QCommandLineParser &parser, TestServer &server)
{
    if (parser.isSet(QStringLiteral("auth-types"))) {
        QList<QPair<int, QString>> types;
        const QString value = parser.value(QStringLiteral("auth-types"));
        for (const QString &type : value.split(u',', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int id = type.section(u':', 0, 0).toInt(&ok);
            if (!ok || !type.contains(u':'))
                failUsage(QStringLiteral("--auth-types expects ID:NAME,..., not \"%1\"").arg(value));
            types.append({id, type.section(u':', 1)});
        }
        server.setAuthTypes(types);
    }
    if (parser.isSet(QStringLiteral("languages")))
        server.setLanguages(parser.value(QStringLiteral("languages")).split(u',', Qt::SkipEmptyParts));
    if (parser.isSet(QStringLiteral("ignore-service-starts")))
        server.setServiceStartsIgnored(true);
}

void setGreeting(const QCommandLineParser &parser, TestServer &server)
{
    StandIn::GreetingPlan plan;
    if (parser.isSet(QStringLiteral("greeting")))
        plan.bytes = QByteArray::fromHex(parser.value(QStringLiteral("greeting")).toLatin1());
    if (parser.isSet(QStringLiteral("greeting-split"))) {
        for (const QString &offset : parser.value(QStringLiteral("greeting-split")).split(u',')) {
            bool ok = false;
            plan.pauseAt.append(offset.toInt(&ok));
            if (!ok)
                failUsage(QStringLiteral("--greeting-split expects offsets such as 1,3"));
        }
        plan.pauseMs = parser.value(QStringLiteral("greeting-pause")).toInt();
    }
    plan.closeAfter = parser.isSet(QStringLiteral("close-after-greeting"));
    server.setGreeting(plan);
}

QList<Growth> growths(const QCommandLineParser &parser, const TestServer &server)
{
    QList<Growth> growths;
    for (const QString &value : parser.values(QStringLiteral("log-grow"))) {
        Growth growth;
        QString rate;
        bool ok = false;
        if (splitLast(value, u':', &growth.log, &rate))
            growth.linesPerSecond = rate.toDouble(&ok);
        if (!ok || growth.linesPerSecond <= 0)
            failUsage(QStringLiteral("--log-grow expects NAME:LINES_PER_SECOND, not \"%1\"").arg(value));
        StandIn::LogExtent extent;
        if (!server.logExtent(growth.log, &extent))
            failUsage(QStringLiteral("--log-grow: there is no log \"%1\"").arg(growth.log));
        growths.append(growth);
    }
    return growths;
}

void grow(TestServer &server, QList<Growth> &growths, qint64 elapsedMsecs)
{
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    for (Growth &growth : growths) {
        const qint64 due = qint64(growth.linesPerSecond * double(elapsedMsecs) / 1000.0);
        QStringList lines;
        for (; growth.appended < due; ++growth.appended) {
            lines.append(QStringLiteral("%1 %2: demo activity, entry %3")
                             .arg(now, growth.log.toUpper())
                             .arg(growth.appended + 1));
        }
        if (!lines.isEmpty())
            server.appendLogLines(growth.log, lines);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ornel-testserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in mail server for the administration console."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("port"), QStringLiteral("TCP and UDP port on 127.0.0.1 (0: a free one)."), QStringLiteral("N"), QStringLiteral("44337")},
        {QStringLiteral("fixture"), QStringLiteral("JSON data set (default: the built-in demo server)."), QStringLiteral("FILE")},
        {QStringLiteral("state"), QStringLiteral("Keep every change in FILE; loaded instead of the fixture when it exists."), QStringLiteral("FILE")},
        {QStringLiteral("key"), QStringLiteral("RSA private key in PEM (at most 1024 bits); default: one made at start."), QStringLiteral("FILE")},
        {QStringLiteral("journal"), QStringLiteral("Append every statement received to FILE, one JSON object a line."), QStringLiteral("FILE")},
        {QStringLiteral("account"), QStringLiteral("Accept this login (repeatable; default admin:admin)."), QStringLiteral("USER:PASSWORD")},
        {QStringLiteral("refuse"), QStringLiteral("Answer statements matching REGEX with STATUS."), QStringLiteral("REGEX=STATUS")},
        {QStringLiteral("delay"), QStringLiteral("Delay answers to statements matching REGEX."), QStringLiteral("REGEX=MS")},
        {QStringLiteral("drop-at"), QStringLiteral("Close the connection at a statement matching REGEX."), QStringLiteral("REGEX")},
        {QStringLiteral("silent"), QStringLiteral("Never answer statements matching REGEX."), QStringLiteral("REGEX")},
        {QStringLiteral("raw-answer"), QStringLiteral("Answer statements matching REGEX with these bytes."), QStringLiteral("REGEX=HEX")},
        {QStringLiteral("malformed-answer"), QStringLiteral("Spoil answers to statements matching REGEX: rows (one row more than the block holds) or cut (half the answer, then close)."), QStringLiteral("REGEX=rows|cut")},
        {QStringLiteral("short-answer"), QStringLiteral("Answer statements matching REGEX with at most ROWS of their rows."), QStringLiteral("REGEX=ROWS")},
        {QStringLiteral("omit-columns"), QStringLiteral("Answer statements matching REGEX without the named columns, or without the last COUNT."), QStringLiteral("REGEX=NAME,...|COUNT")},
        {QStringLiteral("trickle"), QStringLiteral("Send answers to statements matching REGEX BYTES at a time, MS apart."), QStringLiteral("REGEX=BYTES:MS")},
        {QStringLiteral("greeting"), QStringLiteral("Send these greeting bytes instead of 11 0002 0005 0000."), QStringLiteral("HEX")},
        {QStringLiteral("greeting-split"), QStringLiteral("Pause the greeting at these byte offsets."), QStringLiteral("OFFSETS")},
        {QStringLiteral("greeting-pause"), QStringLiteral("Length of each greeting pause."), QStringLiteral("MS"), QStringLiteral("200")},
        {QStringLiteral("close-after-greeting"), QStringLiteral("Close each connection after the greeting.")},
        {QStringLiteral("synthetic-log"), QStringLiteral("Add a log of LINES computed lines."), QStringLiteral("NAME:LINES")},
        {QStringLiteral("log-grow"), QStringLiteral("Append lines to a log at this rate, announcing each growth."), QStringLiteral("NAME:LINES_PER_SECOND")},
        {QStringLiteral("auth-types"), QStringLiteral("Answer get_auth_types() with these types, in this order (empty: none)."), QStringLiteral("ID:NAME,...")},
        {QStringLiteral("languages"), QStringLiteral("Answer get_languages() with these languages, in this order."), QStringLiteral("LANGUAGE,...")},
        {QStringLiteral("ignore-service-starts"), QStringLiteral("Answer start_service() and leave the service stopped.")},
    });
    parser.process(application);
    if (!parser.positionalArguments().isEmpty())
        failUsage(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    StandIn::ServerOptions options;
    bool portOk = false;
    const uint port = parser.value(QStringLiteral("port")).toUInt(&portOk);
    if (!portOk || port > 65535)
        failUsage(QStringLiteral("--port expects a number from 0 to 65535"));
    options.port = quint16(port);
    options.fixture = parser.value(QStringLiteral("fixture"));
    options.stateFile = parser.value(QStringLiteral("state"));
    options.keyFile = parser.value(QStringLiteral("key"));
    options.journalFile = parser.value(QStringLiteral("journal"));
    for (const QString &account : parser.values(QStringLiteral("account"))) {
        QString user;
        QString password;
        const qsizetype colon = account.indexOf(u':');
        if (colon <= 0)
            failUsage(QStringLiteral("--account expects USER:PASSWORD"));
        user = account.left(colon);
        password = account.mid(colon + 1);
        options.accounts.insert(user, password);
    }

    TestServer server(options);
    addRules(parser, server);
    setGreeting(parser, server);
    setAccountFunctions(parser, server);
    for (const QString &value : parser.values(QStringLiteral("synthetic-log"))) {
        QString name;
        const qint64 lines = numberAfterLast(QStringLiteral("synthetic-log"), value, u':', &name);
        if (lines > 0xffffffffLL)
            failUsage(QStringLiteral("--synthetic-log: at most 4294967295 lines"));
        server.addSyntheticLog(name, quint32(lines));
    }

    // Signals are taken synchronously by this thread; the server's threads,
    // started below, inherit the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "ornel-testserver: %s\n", qPrintable(error));
        return 1;
    }
    QList<Growth> growing = growths(parser, server);
    std::printf("listening on 127.0.0.1:%u\n", unsigned(server.port()));
    std::fflush(stdout);

    QElapsedTimer clock;
    clock.start();
    const timespec tick{0, 100 * 1000 * 1000};
    int received = -1;
    while (received < 0) {
        received = sigtimedwait(&stopSignals, nullptr, &tick);
        grow(server, growing, clock.elapsed());
    }
    server.stop();
    return 0;
}
