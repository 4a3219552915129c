#pragma once

#include <QString>

// Connects to the server's administration port and reads its 7-byte greeting, so that the
// module can take over a session that has already begun. Returns the socket (never 0,
// which the module reads as "connect by yourself"), or -1 with the reason in *error.
int connectAndReadGreeting(const QString& host, const QString& port, QString* error);
