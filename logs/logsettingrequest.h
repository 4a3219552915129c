#pragma once

#include <QString>

class DBConn;
class QWidget;

// Sends one statement that changes a log setting and waits for the answer with painting,
// timers and queued calls going on (input to the interface is held back meanwhile). A
// refused statement is reported in the box "Error" / "Operation failed." over parent, a
// lost connection in the connection-failure box once per connection. True when the
// server took the statement.
bool sendLogSetting(QWidget* parent, DBConn* conn, const QString& statement);
