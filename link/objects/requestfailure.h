#pragma once

#include <QString>

class DBConn;
class DBCtrl;
class DBReq;
class QWidget;

// How the console reports a request that did not succeed. The table loads, a
// table's own send and the main window's Apply all report through here, so that a
// lost connection is announced once per connection whoever meets it first.

enum RequestFailureFlag {
    ReportRefusedStatement = 2, // the same bit as DBTable::ReportRefusal
};

// The request's status decides: 1 means the connection is lost
// (reportLostConnection with the connection's owner, lost flag, controller and
// host); any other non-zero status is a refused or abandoned statement, reported
// (reportRefusedStatement with the request's error text) only with ReportRefusedStatement in
// flags. A request that succeeded is not reported. Needs the connection layer.
void reportRequestFailure(DBConn *conn, const DBReq *request, int flags);
// The same from a failed request's status and error text, once the request is gone.
void reportFailedStatus(DBConn *conn, int status, const QString &error, int flags);

// While lost is false: lost is set, then a critical box "Connection failed!\nConsole
// was disconnected from %1." is shown over owner and " - NOT CONNECTED!" appended to
// owner's caption. Every time: ctrl, when given, drops its pending
// statements and emits sig_empty(true) and sig_reset(), so that every page restores
// its tables.
void reportLostConnection(QWidget *owner, bool &lost, DBCtrl *ctrl, const QString &host);

// The lost-connection report of a caller with its own caption and text: while lost is
// false, lost is set, a critical box is shown over boxParent and " - NOT CONNECTED!" is
// appended to mainWindow's caption. Nothing given is touched after the box unguarded.
void announceLostConnection(QWidget *boxParent, QWidget *mainWindow, bool &lost,
                            const QString &caption, const QString &text);

// Whether the connection's loss has been reported. Every request on it fails from then on;
// a caller whose request failed so shows no box of its own on top of that report.
bool connectionLost(const DBConn *conn);

// A warning box "Query failed: %1" over owner.
void reportRefusedStatement(QWidget *owner, const QString &error);
