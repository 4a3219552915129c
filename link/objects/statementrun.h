#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class DBConn;
class ProgressWait;

// Statements sent one at a time, in order, behind one wait indicator: how the main window's
// Apply and a table's own send reach the server.
//
// Each statement goes only once the one before it was carried out; the run stops at the
// first that is not (refused, the connection lost), and at the indicator's "&Abort", which
// ends the wait of the statement being sent as failed and sends nothing more. An aborted
// statement counts as not carried out: whether the server still carries it out is not
// known. What the run carried out is the first carriedOut() statements; the caller makes
// their rows stored at once, and keeps the rest for a later apply.
//
// The indicator's input block is the only one: the waits of the statements add none, so
// "&Abort" is clickable all along. GUI thread only.
class StatementRun
{
public:
    // The status of a run: 0 when every statement was carried out, else the failed
    // request's (1 the connection lost, 3 abandoned at "&Abort", any other a refusal).
    static constexpr int Aborted = 3;

    // goOn is asked after every wait: false (the caller or what it sends for went during
    // the wait) stops the run at once, and the run is then abandoned().
    StatementRun(DBConn *conn, const ProgressWait &indicator, std::function<bool()> goOn);

    // Sends from the first of statements on; the list is the caller's copy, which the waits
    // cannot change.
    void send(const QStringList &statements);

    int carriedOut() const { return m_carriedOut; }
    int status() const { return m_status; }
    QString errorText() const { return m_error; }
    bool abandoned() const { return m_abandoned; }

private:
    // False when the run stops at this statement.
    bool sendOne(const QString &statement);

    DBConn *m_conn;
    const ProgressWait &m_indicator;
    std::function<bool()> m_goOn;
    int m_carriedOut = 0;
    int m_status = 0;
    QString m_error;
    bool m_abandoned = false;
};
