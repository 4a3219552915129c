#pragma once

#include "dbctrl.h"
#include "vexadb.h"
#include "vexasupport.h"
#include "wakewatch.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTreeWidget>
#include <QWidget>

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

class DBReq;
class QSocketNotifier;
class QTimer;
struct RequestJob;

// One connection to a server, as the rest of the module sees it.
//
// A worker thread ("dbtread") is the only user of the session's TCP side: it
// connects (unless the host handed over a connected socket), sets the session up,
// authenticates and then serves the queued requests one at a time, first in, first
// out. On the GUI thread the connection queues requests (insert), waits for the
// set-up (connwait), drains the update channel every 200 ms (updatedata) and keeps
// the request log.
//
// Lifetime: made with new, given up with stop(). The caller must not touch the
// connection after stop(): the worker closes the session and then hands the
// connection's destruction to the GUI thread, where it happens once no timer tick
// or connwait() of it is running. Hence the private destructor.
class DBConn : public QObject
{
    Q_OBJECT

public:
    // States of m_state.
    enum State {
        Connecting = 0,
        Connected = 1,
        Ended = 2, // the set-up failed (m_code says where) or the connection ended
    };

    // The texts are Latin-1. socket 0: the worker connects to host and port itself;
    // otherwise a TCP socket the host has connected and read the greeting from.
    DBConn(const char *host, const char *port, const char *user, const char *password,
           int socket);

    // Queues a request. On a stopping connection, or one whose worker never started,
    // the request is finished at once with status 3 and never sent; on one whose
    // set-up failed the worker finishes it so. The statement is listed in the request
    // log either way.
    void insert(DBReq *req);

    // Waits while the connection is being set up (see DBReq::wait for how, and for
    // where the indicator shows with progress and without; it says "Connecting ...").
    // False when the administrator aborted the wait; true otherwise, also when the
    // set-up failed: then m_state is Ended.
    bool connwait(bool progress, QWidget *parent);

    // Gives the connection up: requests still queued finish with status 3 unsent,
    // a blocked session wakes (its socket is shut down), the update timer stops.
    void stop();

    // A line in the request log, formatted printf-style into at most 4095 bytes of
    // the local 8-bit encoding; nothing without a log view. The log keeps its newest
    // RequestLogLines lines: every update notice a log view follows adds one, so the
    // oldest go as new ones come.
    void log(const char *fmt, ...) VEXA_PRINTF(2, 3);
    static constexpr int RequestLogLines = 5000;

    // Set on the GUI thread by the shell once the main window exists: the parent of
    // the failure boxes, the window's pending-change controller, the request log.
    QPointer<QWidget> m_owner;
    bool m_lost = false; // set by whoever reports the loss first
    QPointer<DBCtrl> m_ctrl;
    QPointer<QTreeWidget> m_logview;

    const QString m_host;
    const QString m_port;

    // Written by the worker; m_code and m_errno before m_state leaves Connecting,
    // which publishes them (release). Read them after reading m_state.
    std::atomic<int> m_code{0};  // the failing set-up step's result, else 0
    std::atomic<int> m_errno{0}; // the system error number with m_code 1
    std::atomic<int> m_state{Connecting};
    unsigned m_authresult = 0; // the authentication's answer, not interpreted

public slots:
    void timer();

signals:
    // One update datagram without its version byte; data is valid only during the
    // emission.
    void updatedata(char *data, int len);

private:
    friend class DBReq;
    class BusyScope;

    ~DBConn() override;

    static void threadEntry(void *connection);
    // The worker's body (named so as not to hide QObject::thread()).
    void threadMain();
    bool setUpSession();
    void failSetUp(int code, int sysError);
    void serveQueue();
    // The next request of a series the GUI thread is sending, when it comes at once;
    // null otherwise.
    std::shared_ptr<RequestJob> awaitNextOfSeries();
    void serve(RequestJob &job);
    void endSession();
    void idle(int ms);

    std::shared_ptr<RequestJob> takeNext();
    void finishQueuedUnsent();
    // GUI thread: takes a request that is still queued out of the queue.
    void withdraw(RequestJob *job);
    void wake();

    // The shut-down handle of the session's socket: a duplicate that the worker
    // holds while the session may block, so that stop() can wake it without racing
    // the session's own close.
    void watchSocket(int socket);
    void unwatchSocket();
    void shutDownWatchedSocket();
    void raiseStopSignal();

    // The worker's last act is to signal m_endSignal; the GUI thread then retires
    // the connection. An event descriptor rather than a posted call: the hand-over
    // stays visible to thread checkers, which do not see inside the toolkit.
    void signalWorkerEnd();
    void takeWorkerEnd();
    void workerEnded();
    void retireWhenIdle();

    std::atomic<bool> m_stop{false};

    std::mutex m_wakeMutex;
    std::condition_variable m_wakeCondition;
    int m_wake = 0; // under m_wakeMutex
    std::atomic<unsigned> m_insertions{0}; // requests queued so far

    pthread_mutex_t m_queueMutex; // recursive
    std::deque<std::shared_ptr<RequestJob>> m_queue;

    QTimer *m_updateTimer;
    // Readable once stop() was called, so that a connect or greeting read still in
    // progress ends at once (an eventfd, written once and never read).
    int m_stopSignal = -1;
    int m_endSignal = -1; // eventfd
    QSocketNotifier *m_endNotifier = nullptr;

    vexadb_handle m_handle = nullptr; // worker's; the timer reads it only while Connected
    int m_socket;                     // worker's after construction

    const QString m_user;
    const QString m_password;
    // Made on the GUI thread for the worker, which only reads them.
    const QString m_clientNameForm;
    const QByteArray m_hostLatin1, m_portLatin1, m_userLatin1, m_passwordLatin1;

    std::mutex m_socketMutex;
    int m_watchedSocket = -1; // under m_socketMutex

    // Keeps the GUI thread's wake-up watch in place while the connection lives, so that
    // a series of waits does not set it up and take it down for every request.
    const WakeWatch m_wakeWatch;

    unsigned int m_worker = 0; // thread number; 0 when none started
    int m_busy = 0;            // GUI thread: timer() and connwait() frames running
    bool m_workerEnded = false;
};
