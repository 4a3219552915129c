#pragma once

// The stand-in server on a free loopback port, and connections to it that are given up,
// and gone, when a test ends.

#include "dbconn.h"
#include "testserver.h"

#include <QPointer>
#include <QStringList>
#include <QTest>

#include <memory>

inline std::unique_ptr<StandIn::TestServer> startStandIn(StandIn::ServerOptions options = {})
{
    options.port = 0;
    auto server = std::make_unique<StandIn::TestServer>(options);
    QString error;
    if (!server->start(&error))
        qFatal("the stand-in server did not start: %s", qPrintable(error));
    return server;
}

// The statements the server received from index `from` of its journal on.
inline QStringList journalFrom(const StandIn::TestServer& server, int from)
{
    QStringList statements;
    const QList<StandIn::JournalEntry> entries = server.journal();
    for (int i = from; i < entries.size(); ++i)
        statements.append(entries.at(i).statement);
    return statements;
}

// Owns a connection the way the shell does: stop() ends it, and the destructor waits until
// the connection has destroyed itself, so no test leaves a worker behind.
class ScopedConnection
{
public:
    ScopedConnection(quint16 port, const char *user = "admin", const char *password = "admin")
        : m_conn(new DBConn("127.0.0.1", QByteArray::number(port).constData(), user, password, 0)) {}
    explicit ScopedConnection(DBConn *conn) : m_conn(conn) {}
    ~ScopedConnection()
    {
        if (!stopAndWait())
            qWarning("ScopedConnection: the connection did not end");
    }
    Q_DISABLE_COPY(ScopedConnection)

    DBConn *get() const { return m_conn.data(); }
    DBConn *operator->() const { return m_conn.data(); }

    // Waits for the set-up without an indicator; true when connected.
    bool connect() { return m_conn && m_conn->connwait(false, nullptr) && m_conn->m_state == DBConn::Connected; }

    // Gives the connection up and processes events until it is destroyed.
    bool stopAndWait(int msecs = 10000)
    {
        if (m_conn)
            m_conn->stop();
        return QTest::qWaitFor([this] { return m_conn.isNull(); }, msecs);
    }

private:
    QPointer<DBConn> m_conn;
};
