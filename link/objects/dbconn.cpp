#include "dbconn.h"

#include "dbreq.h"
#include "dbreq_p.h"
#include "wakewatch.h"

#include <QSocketNotifier>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int UpdatePeriodMs = 200;
constexpr int FastestIdleMs = 5; // the first idle sleep is one more
constexpr int SlowestIdleMs = 40;
// After a request is served the worker stays awake this long for the next: the GUI thread
// queues the next statement of a series (an Apply, a page's loads) within microseconds,
// and waking a sleeping thread costs about as much as a round trip on a fast link.
constexpr std::chrono::microseconds SeriesGap{200};
constexpr int LogLineSize = 4096;

// When the host has read the greeting, its numbers never reach the module: the
// client name then carries the server generation this module is made for, the
// numbers those servers greet with.
constexpr int HostSocketMajor = 5;
constexpr int HostSocketMinor = 0;

} // namespace

// Marks a GUI-thread frame that uses the connection, so that its destruction waits
// until the frame has returned.
class DBConn::BusyScope
{
public:
    explicit BusyScope(DBConn *conn)
        : m_conn(conn)
    {
        ++m_conn->m_busy;
    }
    ~BusyScope()
    {
        --m_conn->m_busy;
        m_conn->retireWhenIdle();
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    DBConn *m_conn;
};

DBConn::DBConn(const char *host, const char *port, const char *user, const char *password,
               int socket)
    : m_host(QString::fromLatin1(host))
    , m_port(QString::fromLatin1(port))
    , m_socket(socket)
    , m_user(QString::fromLatin1(user))
    , m_password(QString::fromLatin1(password))
    , m_clientNameForm(tr("Ornel Admin %1.%2 (Linux)"))
    , m_hostLatin1(m_host.toLatin1())
    , m_portLatin1(m_port.toLatin1())
    , m_userLatin1(m_user.toLatin1())
    , m_passwordLatin1(m_password.toLatin1())
{
    mutex_initializer(&m_queueMutex);

    m_updateTimer = new QTimer(this);
    connect(m_updateTimer, &QTimer::timeout, this, &DBConn::timer);
    m_updateTimer->start(UpdatePeriodMs);

    m_stopSignal = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_endSignal = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopSignal >= 0 && m_endSignal >= 0) {
        m_endNotifier = new QSocketNotifier(m_endSignal, QSocketNotifier::Read, this);
        connect(m_endNotifier, &QSocketNotifier::activated, this, &DBConn::takeWorkerEnd);
        // Last: the worker reads everything above.
        m_worker = createthread(&DBConn::threadEntry, this, 0, "dbtread");
    }
    if (m_worker == 0) {
        // Reported as the library's "resources exhausted", so that a wait for the
        // set-up ends and the shell shows its failure dialog.
        m_code.store(VEXADB_ENOMEM, std::memory_order_relaxed);
        m_state.store(Ended, std::memory_order_release);
    }
}

DBConn::~DBConn()
{
    // The worker signalled its end as its last act; joining it makes sure nothing of
    // it outlives the connection.
    waitforthread(m_worker, 0);
    delete m_endNotifier;
    if (m_endSignal >= 0)
        close(m_endSignal);
    if (m_stopSignal >= 0)
        close(m_stopSignal);
    pthread_mutex_destroy(&m_queueMutex);
}

// --- GUI thread ---------------------------------------------------------------

void DBConn::insert(DBReq *req)
{
    // A request is queued once; one already queued, served or finished stays as it is.
    if (!req || req->m_job || req->m_finished.load(std::memory_order_acquire))
        return;
    // Without a worker nothing would ever serve it either.
    const bool refused = m_stop.load(std::memory_order_relaxed) || m_worker == 0;
    if (refused)
        req->finishAt(3);
    // As text: a statement may hold a percent sign.
    if (m_logview)
        log("%s", req->m_query.toLocal8Bit().constData());
    if (refused)
        return;

    auto job = std::make_shared<RequestJob>(req, req->m_query.toUtf8());
    req->m_job = job;
    req->m_conn = this;
    pthread_mutex_lock(&m_queueMutex);
    m_queue.push_back(std::move(job));
    pthread_mutex_unlock(&m_queueMutex);
    m_insertions.fetch_add(1, std::memory_order_release);
    wake();
}

bool DBConn::connwait(bool progress, QWidget *parent)
{
    const BusyScope busy(this);
    return waitUntil([this] { return m_state.load(std::memory_order_acquire) != Connecting; },
                     progress, parent, tr("Connecting ..."));
}

void DBConn::stop()
{
    if (m_stop.load(std::memory_order_relaxed))
        return;
    m_updateTimer->stop();
    m_stop.store(true, std::memory_order_release);
    raiseStopSignal();
    shutDownWatchedSocket();
    wake();
    if (m_worker == 0)
        QMetaObject::invokeMethod(this, [this] { workerEnded(); }, Qt::QueuedConnection);
}

void DBConn::log(const char *fmt, ...)
{
    if (!m_logview || !fmt)
        return;
    char line[LogLineSize];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(line, sizeof line, fmt, args);
    va_end(args);
    QTreeWidget *view = m_logview.data();
    while (view->topLevelItemCount() >= RequestLogLines)
        delete view->takeTopLevelItem(0);
    new QTreeWidgetItem(view, QStringList(QString::fromLocal8Bit(line)));
}

void DBConn::timer()
{
    // After stop() the session belongs to the worker, which closes it.
    if (m_stop.load(std::memory_order_relaxed)
        || m_state.load(std::memory_order_acquire) != Connected || !m_handle) {
        return;
    }
    const BusyScope busy(this);
    char buffer[VEXADB_DATAGRAM_MAX];
    // A receiver may stop the connection: the next datagram is not read then.
    while (!m_stop.load(std::memory_order_relaxed)) {
        int len = sizeof buffer;
        if (vexadb_getupdatedata(m_handle, buffer, &len) != VEXADB_OK || len <= 0)
            break;
        emit updatedata(buffer, len);
    }
}

void DBConn::withdraw(RequestJob *job)
{
    pthread_mutex_lock(&m_queueMutex);
    const auto found = std::find_if(m_queue.begin(), m_queue.end(),
                                    [job](const std::shared_ptr<RequestJob> &queued) {
                                        return queued.get() == job;
                                    });
    if (found != m_queue.end())
        m_queue.erase(found);
    pthread_mutex_unlock(&m_queueMutex);
}

void DBConn::takeWorkerEnd()
{
    uint64_t count = 0;
    if (read(m_endSignal, &count, sizeof count) != sizeof count)
        return;
    m_endNotifier->setEnabled(false);
    workerEnded();
}

void DBConn::workerEnded()
{
    m_workerEnded = true;
    retireWhenIdle();
}

void DBConn::retireWhenIdle()
{
    // Deferred even when idle: this may run inside a signal of the connection.
    if (m_workerEnded && m_busy == 0)
        deleteLater();
}

// --- both threads ---------------------------------------------------------------

void DBConn::wake()
{
    std::lock_guard<std::mutex> guard(m_wakeMutex);
    m_wake = 1;
    m_wakeCondition.notify_one();
}

void DBConn::watchSocket(int socket)
{
    std::lock_guard<std::mutex> guard(m_socketMutex);
    m_watchedSocket = fcntl(socket, F_DUPFD_CLOEXEC, 0);
    if (m_watchedSocket >= 0 && m_stop.load(std::memory_order_acquire))
        shutdown(m_watchedSocket, SHUT_RDWR);
}

void DBConn::unwatchSocket()
{
    std::lock_guard<std::mutex> guard(m_socketMutex);
    if (m_watchedSocket >= 0)
        close(m_watchedSocket);
    m_watchedSocket = -1;
}

void DBConn::shutDownWatchedSocket()
{
    std::lock_guard<std::mutex> guard(m_socketMutex);
    if (m_watchedSocket >= 0)
        shutdown(m_watchedSocket, SHUT_RDWR);
}

// --- worker thread ---------------------------------------------------------------

void DBConn::threadEntry(void *connection)
{
    static_cast<DBConn *>(connection)->threadMain();
}

void DBConn::threadMain()
{
    if (setUpSession()) {
        m_state.store(Connected, std::memory_order_release);
        WakeWatch::raise();
        serveQueue();
    }
    endSession();
}

bool DBConn::setUpSession()
{
    int version = 0;
    int numbers[3] = {0, HostSocketMajor, HostSocketMinor};
    int sysError = 0;
    if (m_socket == 0) {
        int socket = 0;
        // stop() calls the connect and the wait for the greeting off at once.
        const int code = vexadb_connect_cancellable(
            m_hostLatin1.constData(), m_portLatin1.constData(), m_stopSignal, &socket,
            &sysError, &version, &numbers[0], &numbers[1], &numbers[2]);
        if (code != VEXADB_OK) {
            failSetUp(code, sysError);
            return false;
        }
        m_socket = socket;
    }
    watchSocket(m_socket);

    const QByteArray clientName = m_clientNameForm.arg(numbers[1]).arg(numbers[2]).toLatin1();
    vexadb_handle handle = nullptr;
    int code = vexadb_initsession(&handle, m_socket, clientName.constData(), 1, &sysError);
    if (code != VEXADB_OK) {
        failSetUp(code, sysError);
        return false;
    }
    m_handle = handle;

    code = vexadb_authenticate(m_handle, m_userLatin1.constData(),
                               m_passwordLatin1.constData(), &m_authresult);
    if (code != VEXADB_OK) {
        failSetUp(code, vexadb_get_error(m_handle));
        return false;
    }
    return true;
}

void DBConn::failSetUp(int code, int sysError)
{
    m_code.store(code, std::memory_order_relaxed);
    m_errno.store(code == VEXADB_ESYSTEM ? sysError : 0, std::memory_order_relaxed);
}

void DBConn::serveQueue()
{
    int delay = FastestIdleMs;
    bool justServed = false;
    while (!m_stop.load(std::memory_order_acquire)) {
        std::shared_ptr<RequestJob> job = takeNext();
        if (!job && justServed)
            job = awaitNextOfSeries();
        if (delay < SlowestIdleMs)
            ++delay;
        justServed = job != nullptr;
        if (job) {
            serve(*job);
            delay = FastestIdleMs;
        } else {
            idle(delay);
        }
    }
}

std::shared_ptr<RequestJob> DBConn::awaitNextOfSeries()
{
    const unsigned seen = m_insertions.load(std::memory_order_acquire);
    const bool queued = watchBriefly(
        [this, seen] {
            return m_insertions.load(std::memory_order_acquire) != seen
                || m_stop.load(std::memory_order_acquire);
        },
        SeriesGap);
    // A stopping connection leaves what is queued to its end, which finishes it unsent.
    return queued && !m_stop.load(std::memory_order_acquire) ? takeNext() : nullptr;
}

void DBConn::serve(RequestJob &job)
{
    vexadb_result answer{};
    const int status = vexadb_send_query(m_handle, job.query.constData(), &answer);
    int sysError = 0;
    char text[sizeof DBReq::m_error] = {};
    if (status == VEXADB_ESYSTEM) {
        sysError = vexadb_get_error(m_handle);
        snprintfx(text, sizeof text, "%s, code %d", vexadb_error_desc(status), sysError);
    } else if (status != VEXADB_OK) {
        snprintfx(text, sizeof text, "%s", vexadb_error_desc(status));
    }
    job.complete(status, &answer, sysError, text);
}

void DBConn::idle(int ms)
{
    std::unique_lock<std::mutex> lock(m_wakeMutex);
    m_wakeCondition.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_wake != 0; });
    m_wake = 0;
}

std::shared_ptr<RequestJob> DBConn::takeNext()
{
    std::shared_ptr<RequestJob> job;
    pthread_mutex_lock(&m_queueMutex);
    if (!m_queue.empty()) {
        job = std::move(m_queue.front());
        m_queue.pop_front();
    }
    pthread_mutex_unlock(&m_queueMutex);
    return job;
}

void DBConn::finishQueuedUnsent()
{
    std::deque<std::shared_ptr<RequestJob>> unsent;
    pthread_mutex_lock(&m_queueMutex);
    unsent.swap(m_queue);
    pthread_mutex_unlock(&m_queueMutex);
    for (const std::shared_ptr<RequestJob> &job : unsent) {
        vexadb_result none{};
        job->complete(3, &none, 0, "");
    }
}

void DBConn::endSession()
{
    if (m_handle)
        vexadb_close(m_handle);
    m_handle = nullptr;
    unwatchSocket();
    m_state.store(Ended, std::memory_order_release);
    WakeWatch::raise();

    // Nothing is served any more: a request that still arrives (the connection has
    // not been stopped yet) finishes unsent rather than waiting for ever.
    for (;;) {
        // Read first: every request queued before stop() is in the queue by then.
        const bool stopping = m_stop.load(std::memory_order_acquire);
        finishQueuedUnsent();
        if (stopping)
            break;
        std::unique_lock<std::mutex> lock(m_wakeMutex);
        m_wakeCondition.wait(lock, [this] { return m_wake != 0; });
        m_wake = 0;
    }

    // The connection's timer and signals belong to the GUI thread: so does its end.
    signalWorkerEnd();
}

namespace {

void raise(int eventDescriptor)
{
    const uint64_t one = 1;
    while (write(eventDescriptor, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

} // namespace

void DBConn::signalWorkerEnd()
{
    raise(m_endSignal);
}

void DBConn::raiseStopSignal()
{
    if (m_stopSignal >= 0)
        raise(m_stopSignal);
}
