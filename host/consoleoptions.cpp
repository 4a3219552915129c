#include "consoleoptions.h"

#include "ornelplugin.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

namespace {

// The build tree keeps the module elsewhere than the console; this names it.
const char ModuleVariable[] = "ORNEL_CONSOLE_MODULE";

QString defaultModulePath()
{
    const QString fromEnvironment = qEnvironmentVariable(ModuleVariable);
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(OrnelModuleFileName));
}

bool toInt(const QString& text, int minimum, int* value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum)
        return false;
    *value = number;
    return true;
}

} // namespace

bool parseConsoleOptions(const QStringList& arguments, ConsoleOptions* options, QString* error,
                         QString* helpText)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Console host of the Ornel Corvane administration module: loads the module and opens "
        "one server in it."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption server(QStringLiteral("server"), QStringLiteral("Server address."),
                                    QStringLiteral("HOST"), options->server);
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Administration port."),
                                  QStringLiteral("N"), options->port);
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User name."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Password."),
                                      QStringLiteral("TEXT"));
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QStringLiteral("Layout mode of the main window (1: with the request log)."),
                                  QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption socket(QStringLiteral("socket"),
                                    QStringLiteral("Connect and read the greeting here, then hand the socket to the module."));
    const QCommandLineOption module(QStringLiteral("module"),
                                    QStringLiteral("The module to load (default: $%1, else %2 beside this program).")
                                        .arg(QLatin1String(ModuleVariable), QLatin1String(OrnelModuleFileName)),
                                    QStringLiteral("FILE"));
    const QCommandLineOption grab(QStringLiteral("grab"),
                                  QStringLiteral("Save a screenshot of the console once it is up and idle."),
                                  QStringLiteral("FILE.png"));
    const QCommandLineOption quitGrab(QStringLiteral("grab-at-quit"),
                                      QStringLiteral("Save a second screenshot as --quit-after closes everything."),
                                      QStringLiteral("FILE.png"));
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"),
                                       QStringLiteral("Close everything after this many milliseconds; a dialog the module shows while it connects is closed as soon as that time has passed."),
                                       QStringLiteral("MS"));
    const QCommandLineOption open(QStringLiteral("open"),
                                  QStringLiteral("Select the navigation item with this title first."),
                                  QStringLiteral("TITLE"));
    parser.addOptions({server, port, user, password, mode, socket, module, grab, quitGrab, quitAfter, open});

    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet(help)) {
        *helpText = parser.helpText();
        return true;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first());
        return false;
    }

    options->server = parser.value(server);
    options->port = parser.value(port);
    options->user = parser.value(user);
    options->password = parser.value(password);
    if (!toInt(parser.value(mode), 0, &options->mode)) {
        *error = QStringLiteral("--mode expects a number from 0");
        return false;
    }
    options->ownSocket = parser.isSet(socket);
    options->modulePath = parser.isSet(module) ? parser.value(module) : defaultModulePath();
    options->grabFile = parser.value(grab);
    options->quitGrabFile = parser.value(quitGrab);
    if (parser.isSet(quitAfter) && !toInt(parser.value(quitAfter), 0, &options->quitAfterMs)) {
        *error = QStringLiteral("--quit-after expects a number of milliseconds");
        return false;
    }
    options->openTitle = parser.value(open);
    return true;
}
