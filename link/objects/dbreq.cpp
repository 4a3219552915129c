#include "dbreq.h"
#include "dbreq_p.h"

#include "dbconn.h"
#include "inputblocker.h"
#include "progresswait.h"
#include "vexasupport.h"
#include "waitscope.h"
#include "wakewatch.h"

#include <QCoreApplication>
#include <QThread>

#include <climits>
#include <cstring>
#include <optional>

namespace {

// About two round trips over the loopback interface.
constexpr std::chrono::microseconds AnswerWatchSpan{100};

// Without a wake signal a wait can only look at its request now and then.
constexpr int UnwokenSleepMs = 15;
constexpr int UnwokenEventSliceMs = 10;

void sleepInEventLoop()
{
    if (WakeWatch::isAvailable()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return;
    }
    QThread::msleep(UnwokenSleepMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents, UnwokenEventSliceMs);
}

} // namespace

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
    WakeWatch::raise();
}

bool RequestJob::release()
{
    std::lock_guard<std::mutex> guard(lock);
    if (!owner)
        return false;
    owner = nullptr;
    return true;
}

bool waitUntil(const std::function<bool()> &done, bool progress, QWidget *parent,
               const QString &text)
{
    if (watchBriefly(done, AnswerWatchSpan))
        return true;
    // Events run from here on, and the windows of whoever waits must stay.
    const WaitScope onStack;
    // Before the first look that may sleep: a raise from now on ends the sleep.
    const WakeWatch watch;
    std::optional<ProgressWait> indicator;
    std::optional<InputBlocker> blocker;
    if (progress)
        indicator.emplace(parent, text);
    else if (ProgressWait::isStanding())
        blocker.emplace();
    else
        indicator.emplace(nullptr, text);

    while (!done()) {
        sleepInEventLoop();
        if (indicator && indicator->aborted())
            return false;
    }
    return true;
}

bool waitUnderIndicator(const std::function<bool()> &done, const ProgressWait &indicator)
{
    if (indicator.aborted())
        return false;
    if (watchBriefly(done, AnswerWatchSpan))
        return true;
    // A wait like any other: the windows of whoever waits must stay.
    const WaitScope onStack;
    const WakeWatch watch;
    while (!done()) {
        sleepInEventLoop();
        if (indicator.aborted())
            return false;
    }
    return true;
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
    const bool ended = waitUntil(
        [this, &alive] { return !*alive || m_finished.load(std::memory_order_acquire); },
        progress, parent, QCoreApplication::translate("DBReq", "Transfering data ..."));
    if (!ended && *alive)
        abandon();
}

bool DBReq::waitUnder(const ProgressWait &indicator)
{
    const std::shared_ptr<bool> alive = m_alive;
    const bool ended = waitUnderIndicator(
        [this, &alive] { return !*alive || m_finished.load(std::memory_order_acquire); },
        indicator);
    if (!ended && *alive)
        abandon();
    return ended;
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

QByteArrayView DBReq::cell(int row, int col) const
{
    const void *value = nullptr;
    uint32_t size = 0;
    if (!m_finished.load(std::memory_order_acquire) || !m_hasresult
        || vexadb_peek_result(&m_result, row, col, &value, &size) != VEXADB_OK
        || size > uint32_t(INT_MAX)) {
        return {};
    }
    return QByteArrayView(static_cast<const char *>(value), qsizetype(size));
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
    // Rows of an answer without columns hold no cell to read, and their count is
    // whatever the server declared: offered, it would have a caller build up to
    // 2^31 empty rows.
    if (!m_hasresult || !m_finished.load(std::memory_order_acquire)
        || m_result.kind != VEXADB_KIND_ROWSET || m_result.ncols == 0) {
        return 0;
    }
    return m_result.nrows > uint32_t(INT_MAX) ? INT_MAX : int(m_result.nrows);
}

int DBReq::columnCount() const
{
    if (!m_hasresult || !m_finished.load(std::memory_order_acquire)
        || m_result.kind != VEXADB_KIND_ROWSET) {
        return 0;
    }
    return m_result.ncols;
}
