#include "logpager.h"

#include "dbconn.h"
#include "dbreq.h"
#include "escape.h"
#include "logupdatepacket.h"
#include "requestfailure.h"

#include <QCoreApplication>
#include <QTextCodec>
#include <QTimer>

#include <algorithm>

namespace {

// Rows fetched beyond the rows a load needs, and the rows kept around them afterwards.
constexpr qint64 FetchMargin = 50;
constexpr qint64 FetchBelow = 5;
constexpr qint64 KeepMargin = 150;

constexpr int PollMsecs = 5;
constexpr int BackOffMsecs = 1000;
constexpr int CtrlAnswerSize = 20;
// Lines of one request of a range fetch.
constexpr qint64 RangeBlock = 5000;

// An integer cell of the first row.
bool readInt(DBReq& request, int col, qint32* value)
{
    int len = int(sizeof *value);
    return request.read(0, col, value, &len) && len == int(sizeof *value);
}

} // namespace

LogPager::LogPager(DBConn* conn, const QString& logName, QWidget* boxParent, QObject* parent)
    : QObject(parent)
    , m_conn(conn)
    , m_logName(logName)
    , m_boxParent(boxParent)
    , m_pollTimer(new QTimer(this))
    , m_backOffTimer(new QTimer(this))
{
    m_pollTimer->setInterval(PollMsecs);
    connect(m_pollTimer, &QTimer::timeout, this, &LogPager::poll);
    m_backOffTimer->setSingleShot(true);
    connect(m_backOffTimer, &QTimer::timeout, this, &LogPager::endBackOff);
}

// The requests' destructors abandon whatever is still open.
LogPager::~LogPager() = default;

QString LogPager::logListStatement(const QString& logName)
{
    return QStringLiteral("select LogList(\"%1\")").arg(escape(logName));
}

QString LogPager::logDataStatement(const QString& logName, quint64 from, quint64 count)
{
    // One pass over the pattern: a name holding "%2" stays as it is.
    return QStringLiteral("select LogData(\"%1\", %2, %3)")
        .arg(escape(logName), QString::number(from), QString::number(count));
}

QString LogPager::logCtrlStatement(const QString& action, const QString& logName)
{
    return QStringLiteral("select LogCtrl(\"%1\", \"%2\")").arg(escape(action), escape(logName));
}

void LogPager::open()
{
    if (!m_conn || m_listReq || isOpen())
        return;
    m_listReq = std::make_unique<DBReq>(logListStatement(m_logName), true);
    m_conn->insert(m_listReq.get());
    updatePolling();
}

bool LogPager::isLoading() const
{
    return m_load != nullptr;
}

bool LogPager::covers(qint64 firstRow, qint64 lastRow) const
{
    return m_first <= firstRow && lastRow <= m_end;
}

void LogPager::updatePolling()
{
    const bool waiting = m_listReq || m_load || m_ctrlReq || m_range;
    if (waiting && !m_pollTimer->isActive())
        m_pollTimer->start();
    else if (!waiting)
        m_pollTimer->stop();
}

void LogPager::poll()
{
    // Each step may emit, and a receiver may delete the pager.
    const QPointer<LogPager> self(this);
    pollList();
    if (self)
        pollCtrl();
    if (self)
        pollData();
    if (self)
        pollRange();
    if (self)
        updatePolling();
}

void LogPager::pollList()
{
    if (!m_listReq || !m_listReq->m_finished.load(std::memory_order_acquire))
        return;
    const std::unique_ptr<DBReq> request = std::move(m_listReq);
    readExtent(*request);
    if (isOpen())
        emit opened();
}

void LogPager::readExtent(DBReq& request)
{
    if (request.m_status != 0)
        return;
    qint32 first = 0;
    qint32 end = 0;
    qint32 id = -1;
    if (!readInt(request, 3, &first) || !readInt(request, 2, &end) || !readInt(request, 0, &id))
        return;
    m_base = quint32(first);
    m_count = quint32(end) >= m_base ? quint32(end) - m_base : 0;
    m_logId = id;
}

void LogPager::load(qint64 firstRow, qint64 lastRow)
{
    if (isLoading())
        return;
    const qint64 keepLow = firstRow - KeepMargin;
    const qint64 keepHigh = lastRow + KeepMargin;
    lastRow = std::min<qint64>(lastRow + FetchBelow, m_count);

    Load load;
    qint64 to = 0;
    const qint64 replaceFrom = std::max<qint64>(firstRow - FetchMargin, 0);
    if (covers(firstRow, lastRow)) {
        to = load.from = 0;
    } else if (m_lines.empty() || lastRow < m_first || m_end < replaceFrom) {
        load.placement = Placement::Replace;
        load.from = replaceFrom;
        to = lastRow + FetchMargin;
    } else if (firstRow < m_first) {
        load.placement = Placement::Prepend;
        load.from = std::max<qint64>(firstRow - FetchMargin, 0);
        to = m_first;
    } else {
        load.placement = Placement::Append;
        load.from = m_end;
        to = lastRow + FetchMargin;
    }
    to = std::min<qint64>(to, m_count);
    if (to <= load.from) {
        emit loadFinished(false);
        return;
    }
    if (!m_conn) {
        // The connection is gone: nothing will come, and the viewer is not to ask on.
        startBackOff();
        emit loadFinished(false);
        return;
    }

    load.rows = to - load.from;
    load.keepLow = keepLow;
    load.keepHigh = keepHigh;
    load.generation = m_generation;
    load.request = std::make_unique<DBReq>(
        logDataStatement(m_logName, quint64(m_base) + quint64(load.from), quint64(load.rows)),
        false);
    m_load = std::make_unique<Load>(std::move(load));
    m_conn->insert(m_load->request.get());
    updatePolling();
}

void LogPager::pollData()
{
    if (!m_load || !m_load->request->m_finished.load(std::memory_order_acquire))
        return;
    const std::unique_ptr<Load> load = std::move(m_load);
    DBReq& request = *load->request;

    const bool current = load->generation == m_generation;
    const bool lost = request.m_status == 1;
    const qint64 before = m_linesReceived;
    RowSpan arrived;
    if (current && request.m_status == 0)
        arrived = takeRows(request, *load);
    const bool brought = m_linesReceived > before;
    // Rows of an older generation were not wanted: the viewer asks again at once.
    if (current && !brought)
        startBackOff();

    const QPointer<LogPager> self(this);
    if (arrived.first < arrived.end)
        emit rowsArrived(arrived.first, arrived.end);
    if (self && lost)
        reportLostConnection();
    if (self)
        emit loadFinished(brought);
}

LogPager::RowSpan LogPager::takeRows(DBReq& request, const Load& load)
{
    // A server that answers more rows than asked cannot push the cache out of the log.
    const int rows = int(std::min<qint64>(request.rowCount(), load.rows));
    if (rows <= 0)
        return {};

    // The rows that came are the first ones asked for. A short block meant to go above the
    // cache does not reach it: it becomes the cache, and later loads continue below it.
    const Placement placement = load.placement == Placement::Prepend && rows < load.rows
                                    ? Placement::Replace
                                    : load.placement;
    if (placement == Placement::Replace) {
        m_lines.clear();
        m_first = m_end = load.from;
    }
    const bool prepend = placement == Placement::Prepend;
    const qint64 oldFirst = m_first;
    const qint64 oldEnd = m_end;
    // The new rows where they stand in the cache now.
    const auto arrived = [&] {
        return prepend ? RowSpan{m_first, std::min(oldFirst, m_end)}
                       : RowSpan{std::max(oldEnd, m_first), m_end};
    };
    for (int i = 0; i < rows; ++i) {
        const int row = prepend ? rows - 1 - i : i;
        QString text;
        // A row that cannot be read ends the load; what came before it stays, untrimmed.
        if (!readLine(request, row, &text))
            return arrived();
        ++m_linesReceived;
        if (prepend) {
            m_lines.push_front(std::move(text));
            --m_first;
        } else {
            m_lines.push_back(std::move(text));
            ++m_end;
        }
    }
    trim(load.keepLow, load.keepHigh);
    return arrived();
}

bool LogPager::readLine(const DBReq& request, int row, QString* text) const
{
    // Read in place: a copy of a line of megabytes would cost as much again.
    QByteArrayView bytes = request.cell(row, 0);
    if (bytes.isNull())
        return false;
    // A text cell ends in its zero byte.
    bytes = bytes.first(qsizetype(qstrnlen(bytes.data(), std::size_t(bytes.size()))));
    *text = m_codec ? m_codec->toUnicode(bytes.data(), int(bytes.size()))
                    : QString::fromLatin1(bytes);
    if (text->isEmpty())
        *text = QStringLiteral(" ");
    return true;
}

void LogPager::fetchRange(qint64 firstRow, qint64 lastRow)
{
    m_range.reset();
    if (!m_conn || !isOpen()) {
        emit rangeFetched(false);
        return;
    }
    auto range = std::make_unique<RangeFetch>();
    range->next = std::max<qint64>(0, firstRow);
    range->end = std::min<qint64>(lastRow, m_count);
    range->generation = m_generation;
    m_range = std::move(range);
    requestNextRangeBlock();
    updatePolling();
}

void LogPager::abandonRange()
{
    // The request's destructor abandons it.
    m_range.reset();
}

void LogPager::requestNextRangeBlock()
{
    if (m_range->next >= m_range->end) {
        m_range.reset();
        emit rangeFetched(true);
        return;
    }
    m_range->asked = std::min(RangeBlock, m_range->end - m_range->next);
    m_range->request = std::make_unique<DBReq>(
        logDataStatement(m_logName, quint64(m_base) + quint64(m_range->next),
                         quint64(m_range->asked)),
        false);
    m_conn->insert(m_range->request.get());
}

void LogPager::pollRange()
{
    if (!m_range || !m_range->request
        || !m_range->request->m_finished.load(std::memory_order_acquire))
        return;
    const std::unique_ptr<DBReq> request = std::move(m_range->request);
    // A log emptied or renumbered meanwhile no longer has the rows that were asked for.
    QStringList lines;
    if (request->m_status != 0 || m_range->generation != m_generation
        || !readRangeBlock(*request, &lines)) {
        failRange(request->m_status == 1);
        return;
    }
    const qint64 firstRow = m_range->next;
    m_range->next += lines.size();
    const QPointer<LogPager> self(this);
    emit rangeLines(firstRow, lines);
    // The receiver may have given the range up, or deleted the pager.
    if (!self || !m_range)
        return;
    if (!m_conn) {
        failRange(false);
        return;
    }
    requestNextRangeBlock();
}

// The rows of one answer, at most as many as were asked for; false when none came (a
// block that brings nothing cannot make progress) or a row cannot be read.
bool LogPager::readRangeBlock(DBReq& request, QStringList* lines) const
{
    const int rows = int(std::min<qint64>(request.rowCount(), m_range->asked));
    if (rows <= 0)
        return false;
    lines->reserve(rows);
    for (int row = 0; row < rows; ++row) {
        QString text;
        if (!readLine(request, row, &text))
            return false;
        lines->append(std::move(text));
    }
    return true;
}

// The receiver hears first, so that its wait indicator is gone before the box of a lost
// connection appears.
void LogPager::failRange(bool lost)
{
    m_range.reset();
    const QPointer<LogPager> self(this);
    emit rangeFetched(false);
    if (self && lost)
        reportLostConnection();
}

void LogPager::trim(qint64 keepLow, qint64 keepHigh)
{
    while (m_first < keepLow && !m_lines.empty()) {
        m_lines.pop_front();
        ++m_first;
    }
    while (m_end > keepHigh && !m_lines.empty()) {
        m_lines.pop_back();
        --m_end;
    }
}

void LogPager::discardCache()
{
    dropCache();
}

void LogPager::dropCache()
{
    m_lines.clear();
    m_first = m_end = 0;
    ++m_generation;
}

LogPager::ExtentChange LogPager::applyUpdate(const char* data, int len)
{
    ExtentChange change;
    if (!isOpen())
        return change;
    const std::optional<LogUpdate> update = findLogUpdate(data, len, m_logId);
    if (!update)
        return change;

    const quint32 oldBase = m_base;
    m_base = update->first;
    const quint32 newCount = update->end >= update->first ? update->end - update->first : 0;
    if (m_conn) {
        m_conn->log("update packet for log id=%d, offset=%u, count=%u (total=%u)", m_logId,
                    update->first, update->end, newCount);
    }
    change.oldCount = m_count;
    change.newCount = newCount;
    if (newCount == m_count && update->first == oldBase)
        return change;

    change.changed = true;
    change.shortened = newCount < m_count;
    change.firstMoved = update->first != oldBase;
    m_count = newCount;
    if (change.shortened || change.firstMoved)
        dropCache();
    // Rows that could not be had before may exist now.
    endBackOff();
    return change;
}

void LogPager::clearLog()
{
    if (!m_conn || m_ctrlReq)
        return;
    m_ctrlReq = std::make_unique<DBReq>(logCtrlStatement(QStringLiteral("clean"), m_logName), false);
    m_conn->insert(m_ctrlReq.get());
    updatePolling();
}

void LogPager::pollCtrl()
{
    if (!m_ctrlReq || !m_ctrlReq->m_finished.load(std::memory_order_acquire))
        return;
    const std::unique_ptr<DBReq> request = std::move(m_ctrlReq);
    char answer[CtrlAnswerSize + 1] = {};
    int len = CtrlAnswerSize;
    if (request->m_status != 0 || !request->read(0, 0, answer, &len) || answer[0] == '\0')
        return;
    // The numbering stays: the server's next notice brings the new extent.
    dropCache();
    m_count = 0;
    emit cleared();
}

void LogPager::setCodecName(const QByteArray& name)
{
    QTextCodec* codec = name.isEmpty() ? nullptr : QTextCodec::codecForName(name);
    if (codec == m_codec)
        return;
    m_codec = codec;
    // The cached lines were decoded otherwise: they are fetched again.
    dropCache();
}

void LogPager::startBackOff()
{
    m_backingOff = true;
    m_backOffTimer->start(BackOffMsecs);
}

void LogPager::endBackOff()
{
    if (!m_backingOff)
        return;
    m_backingOff = false;
    m_backOffTimer->stop();
    emit retryAllowed();
}

void LogPager::reportLostConnection()
{
    if (!m_conn || m_conn->m_lost)
        return;
    announceLostConnection(
        m_boxParent, m_conn->m_owner, m_conn->m_lost,
        QCoreApplication::translate("WndLog", "Ornel Administration Console"),
        QCoreApplication::translate("WndLog", "Connection failed! Module was disconected from %1.")
            .arg(m_conn->m_host));
}
