#pragma once

// The stand-in server with the logs the viewer's tests read, one connection to it whose
// request log is a list the tests can read, and the server's journal from a mark on.

#include "standinconnection.h"
#include "testserver.h"

#include <QStringList>
#include <QTreeWidget>

#include <memory>

// "short": 40 lines "short line 0" .. "short line 39"; "big": 1,000,000 computed lines.
constexpr int ShortLines = 40;
constexpr quint32 BigLines = 1000000;

inline QStringList shortLines(int from, int count)
{
    QStringList lines;
    for (int i = from; i < from + count; ++i)
        lines.append(QStringLiteral("short line %1").arg(i));
    return lines;
}

class LogFixture
{
public:
    bool start()
    {
        server = startStandIn();
        server->addLog(QStringLiteral("short"), shortLines(0, ShortLines));
        server->addSyntheticLog(QStringLiteral("big"), BigLines);
        return connect();
    }

    // A second connection to the same server.
    bool connect()
    {
        conn = std::make_unique<ScopedConnection>(server->port());
        if (!conn->connect())
            return false;
        (*conn)->m_logview = &trace;
        const QList<StandIn::SessionInfo> sessions = server->sessions();
        return server->waitForRegistration(sessions.constLast().id, 5000);
    }

    DBConn* connection() const { return conn->get(); }

    // A new connection when a test lost the last one.
    bool keepConnected()
    {
        const DBConn* last = conn ? conn->get() : nullptr;
        if (last && last->m_state == DBConn::Connected && !last->m_lost)
            return true;
        return connect();
    }

    // Forgets what the server received and what the connection logged so far.
    void mark()
    {
        m_journalMark = server->journal().size();
        trace.clear();
    }

    QStringList statements() const
    {
        QStringList texts;
        const QList<StandIn::JournalEntry> entries = server->journal();
        for (int i = m_journalMark; i < entries.size(); ++i)
            texts.append(entries.at(i).statement);
        return texts;
    }

    QStringList traceLines() const
    {
        QStringList lines;
        for (int i = 0; i < trace.topLevelItemCount(); ++i)
            lines.append(trace.topLevelItem(i)->text(0));
        return lines;
    }

    int logId(const QString& name) const
    {
        StandIn::LogExtent extent;
        server->logExtent(name, &extent);
        return extent.id;
    }

    std::unique_ptr<StandIn::TestServer> server;
    std::unique_ptr<ScopedConnection> conn;
    QTreeWidget trace;

private:
    int m_journalMark = 0;
};
