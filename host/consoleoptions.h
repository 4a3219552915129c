#pragma once

#include <QString>
#include <QStringList>

// What the console host was asked to do, from its command line and environment.
struct ConsoleOptions
{
    QString server = QStringLiteral("127.0.0.1");
    QString port = QStringLiteral("44337");
    QString user;
    QString password;
    int mode = 0;
    // Connect and read the greeting here, then hand the socket to the module.
    bool ownSocket = false;

    QString modulePath;
    QString grabFile;      // empty: no screenshot
    QString quitGrabFile;  // a second screenshot as --quit-after ends the console
    int quitAfterMs = -1;  // negative: run until the administrator closes the console
    QString openTitle;     // empty: leave the module's first page
};

// Reads the arguments (the program name first). Returns false with a message in *error
// when they make no sense; *helpText is set instead when help was asked for.
bool parseConsoleOptions(const QStringList& arguments, ConsoleOptions* options, QString* error,
                         QString* helpText);
