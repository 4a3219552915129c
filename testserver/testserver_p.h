#pragma once

#include "testserver.h"

#include "catalogue_p.h"
#include "controls_p.h"
#include "journal_p.h"
#include "listener_p.h"
#include "logstore_p.h"
#include "session_p.h"
#include "udpchannel_p.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace StandIn {

class ServerKey;

// Threads: one accepting connections, one reading UDP registrations, one per
// connection. Everything they share is guarded by m_mutex; sockets are read
// and written outside it. stop() shuts every connection's socket down, which
// wakes its thread, and joins them all.
class TestServerPrivate : public SessionHost
{
public:
    explicit TestServerPrivate(const ServerOptions &options);
    ~TestServerPrivate() override;

    bool start(QString *error);
    void stop();

    // SessionHost, called on connection threads
    GreetingPlan greeting() const override;
    std::shared_ptr<const ServerKey> key() const override;
    bool pause(int msecs) override;
    // Waits at the gate until releaseHeld() or stop(); false when the server stops.
    bool waitAtGate();
    void identified(quint32 session, const QString &identification) override;
    bool authenticate(quint32 session, const QString &user, const QString &password) override;
    Reply answer(quint32 session, const QString &statement) override;
    // The reply decided for statement, once any delay is over; takes m_mutex.
    Reply replyAsDecided(const QString &statement, const Controls::Decision &decision);

    bool addRule(Controls::Rule rule, const QString &pattern); // takes m_mutex

    // Callers hold m_mutex.
    bool ensureDataLocked(QString *error);
    void dataChangedLocked();
    int pushDatagramLocked(const QByteArray &datagram, quint32 session);
    int pushLogUpdateLocked(const QString &log, quint32 session);

    struct SessionRecord
    {
        SessionInfo info;
        int socket = -1;         // -1 once the connection thread has closed it
        sockaddr_in updateAddress{};
        bool finished = false;
        std::thread thread;
    };

    const ServerOptions m_options;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed; // stop, registrations, the gate released

    // guarded by m_mutex
    bool m_running = false;
    bool m_stopping = false;
    bool m_datagramsOpen = false;
    bool m_dataLoaded = false;
    Catalogue m_catalogue;
    LogStore m_logs;
    Controls m_controls;
    Journal m_journal;
    GreetingPlan m_greeting;
    QMap<QString, QString> m_accounts;
    std::shared_ptr<const ServerKey> m_key;
    std::map<quint32, SessionRecord> m_sessions;
    quint32 m_nextSessionId = 1;
    int m_heldAnswers = 0;       // waiting at the gate
    quint64 m_gateReleases = 0;  // how often releaseHeld() let the gate's answers go

    // used by start() and stop() only
    Listener m_listener;
    UdpChannel m_udp;
    quint16 m_port = 0;

private:
    bool prepareLocked(QString *error);
    bool openSockets(QString *error);
    void accepted(int socket);
    void registered(quint32 session, const sockaddr_in &sender);
    void runSession(quint32 id, int socket);
    void reapFinishedLocked();
};

} // namespace StandIn
