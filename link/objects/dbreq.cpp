#include "dbreq.h"
#include "dbreq_p.h"

#include "dbconn.h"
#include "inputblocker.h"
#include "scopedqpointer.h"
#include "vexasupport.h"
#include "wndprogress.h"

#include <QCoreApplication>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <optional>

namespace {

// One for the whole module: waits are few and short, and a spurious wake only makes a
// wait look at its request a little early.
std::mutex waitLock;
std::condition_variable waitWake;

void sleepUntilWoken(const std::function<bool()> &done)
{
    std::unique_lock<std::mutex> guard(waitLock);
    waitWake.wait_for(guard, std::chrono::milliseconds(WaitSleepMs), done);
}

} // namespace

void wakeWaiters()
{
    // Taking the lock orders the change before a waiter's check of done().
    { std::lock_guard<std::mutex> guard(waitLock); }
    waitWake.notify_all();
}

void RequestJob::complete(int status, vexadb_result *answer, int sysError, const char *errorText)
{
    std::lock_guard<std::mutex> guard(lock);
    if (!owner) {
        // Abandoned: nobody reads this answer.
        vexadb_free_result(answer);
        return;
    }
    DBReq *request = owner;
    owner = nullptr;
    request->m_status = status;
    request->m_errno = sysError;
    strncpys(request->m_error, errorText ? errorText : "", sizeof request->m_error);
    request->m_result = *answer;
    request->m_hasresult = status == VEXADB_OK;
    *answer = vexadb_result{};
    if (!request->m_hasresult)
        vexadb_free_result(&request->m_result);
    // Last: whoever sees it set sees everything above.
    request->m_finished.store(true, std::memory_order_release);
    wakeWaiters();
}

bool RequestJob::release()
{
    std::lock_guard<std::mutex> guard(lock);
    if (!owner)
        return false;
    owner = nullptr;
    return true;
}

bool pollUntil(const std::function<bool()> &done, bool progress, QWidget *parent,
               const QString &text, int eventSliceMs)
{
    if (done())
        return true;
    // The indicator's parent may be destroyed while events run, taking it along.
    ScopedQPointer<WndProgress> indicator;
    std::optional<InputBlocker> blocker;
    if (progress)
        indicator.reset(new WndProgress(parent, text));
    else
        blocker.emplace();

    bool aborted = false;
    while (!done()) {
        sleepUntilWoken(done);
        QCoreApplication::processEvents(QEventLoop::AllEvents, eventSliceMs);
        if (indicator && indicator->aborted()) {
            aborted = true;
            break;
        }
    }
    return !aborted;
}

DBReq::DBReq(const QString &query, bool withDesc)
    : m_desc(withDesc)
    , m_query(query)
    , m_alive(std::make_shared<bool>(true))
{
}

DBReq::~DBReq()
{
    *m_alive = false;
    abandon();
    releaseAnswer();
}

void DBReq::wait(bool progress, QWidget *parent)
{
    const std::shared_ptr<bool> alive = m_alive;
    const bool ended = pollUntil(
        [this, &alive] { return !*alive || m_finished.load(std::memory_order_acquire); },
        progress, parent, QCoreApplication::translate("DBReq", "Transfering data ..."),
        RequestEventSliceMs);
    if (!ended && *alive)
        abandon();
}

void DBReq::abandon()
{
    if (m_finished.load(std::memory_order_acquire))
        return;
    if (m_job) {
        // Still queued: it leaves the queue and is never sent.
        if (m_conn)
            m_conn->withdraw(m_job.get());
        // Being served: the worker discards the answer. When it completed the
        // request first, that outcome stands.
        const bool detached = m_job->release();
        m_job.reset();
        if (!detached)
            return;
    }
    finishAt(3);
}

void DBReq::finishAt(int status)
{
    m_status = status;
    m_errno = 0;
    m_error[0] = '\0';
    m_finished.store(true, std::memory_order_release);
}

void DBReq::releaseAnswer()
{
    if (m_hasresult) {
        vexadb_free_result(&m_result);
        m_hasresult = false;
    }
}

bool DBReq::read(int row, int col, void *buf, int *len)
{
    const int capacity = len ? *len : 0;
    if (m_finished.load(std::memory_order_acquire) && m_hasresult && buf && len
        && vexadb_read_result(&m_result, row, col, buf, len) == VEXADB_OK) {
        return true;
    }
    if (buf && capacity > 0)
        static_cast<char *>(buf)[0] = '\0';
    return false;
}

bool DBReq::get_desc(int col, char *name, int len, int *type, int *flags, int * /*reserved*/)
{
    if (!m_desc || !m_hasresult || !m_finished.load(std::memory_order_acquire))
        return false;
    vexadb_coldesc desc{};
    if (vexadb_get_desc(&m_result, col, &desc) != VEXADB_OK)
        return false;
    if (type)
        *type = desc.type;
    if (flags)
        *flags = desc.flags;
    if (name && len > 0)
        strncpys(name, desc.name ? desc.name : "", len);
    return true;
}

QString DBReq::errorText() const
{
    return QString::fromLatin1(m_error, qsizetype(qstrnlen(m_error, sizeof m_error)));
}

int DBReq::rowCount() const
{
    if (!m_hasresult || !m_finished.load(std::memory_order_acquire)
        || m_result.kind != VEXADB_KIND_ROWSET) {
        return 0;
    }
    return m_result.nrows > uint32_t(INT_MAX) ? INT_MAX : int(m_result.nrows);
}
