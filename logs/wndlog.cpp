#include "wndlog.h"

#include "dbconn.h"
#include "desktop.h"
#include "logpager.h"
#include "settingsstore.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace {

// Lines are never measured: the area is this wide whatever they hold.
constexpr int ContentsWidth = 3000;
constexpr int TextMargin = 2;
constexpr int LoadDelayMsecs = 5;
constexpr int HorizontalStep = 20;

const char FontKey[] = "/Admin/Logs/font";
const char CharsetKey[] = "/Admin/Logs/charset";

// Rows [first, end) that the pixel rows of rect in the viewport touch, from top on.
qint64 firstRowOf(const QRect& rect, qint64 top, int lineHeight)
{
    return top + std::max(0, rect.top()) / lineHeight;
}

qint64 endRowOf(const QRect& rect, qint64 top, int lineHeight)
{
    return top + (qint64(rect.bottom()) + lineHeight) / lineHeight;
}

} // namespace

WndLog::WndLog(QWidget* parent, DBConn* conn, const DBLOG* log, const char* name,
               Qt::WindowFlags flags, Desktop* desktop)
    : QAbstractScrollArea(parent)
    , m_log(*log)
    , m_pager(new LogPager(conn, logDescriptorName(*log), this, this))
    , m_loadTimer(new QTimer(this))
    , m_detached(parent && qstrcmp(parent->metaObject()->className(), "Desktop") == 0)
    , m_desktop(desktop)
{
    if (flags != Qt::Widget)
        setWindowFlags(flags);
    setObjectName(QLatin1String(name));

    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(HorizontalStep);

    if (m_desktop)
        readSettings();
    const QFontMetrics metrics(font());
    m_lineHeight = std::max(1, metrics.lineSpacing());
    m_ascent = metrics.ascent();

    m_loadTimer->setSingleShot(true);
    m_loadTimer->setInterval(LoadDelayMsecs);
    connect(m_loadTimer, &QTimer::timeout, this, &WndLog::slotLoadData);
    connect(m_pager, &LogPager::opened, this, &WndLog::haveMainData);
    connect(m_pager, &LogPager::loadFinished, this, &WndLog::loadFinished);
    connect(m_pager, &LogPager::cleared, this, &WndLog::logCleared);
    connect(m_pager, &LogPager::retryAllowed, viewport(), qOverload<>(&QWidget::update));
    if (conn)
        connect(conn, &DBConn::updatedata, this, &WndLog::slotUpdateData);

    updateScrollRange();
    m_pager->open();
}

// The pager goes with the view and abandons its requests.
WndLog::~WndLog() = default;

void WndLog::readSettings()
{
    const SettingsStore* settings = m_desktop->settings();
    const QString fontText = settings->readEntry(QLatin1String(FontKey));
    selectCharset(settings->readNumEntry(QLatin1String(CharsetKey), 0));
    QFont chosen;
    if (!fontText.isEmpty() && chosen.fromString(fontText))
        setFont(chosen);
}

QByteArray WndLog::charsetName(int id)
{
    switch (id) {
    case 11: return QByteArrayLiteral("ISO 8859-1");
    case 12: return QByteArrayLiteral("ISO 8859-15");
    case 13: return QByteArrayLiteral("ISO 8859-2");
    case 14: return QByteArrayLiteral("CP 1250");
    default: return QByteArray();
    }
}

void WndLog::selectCharset(int id)
{
    m_charset = id;
    m_pager->setCodecName(charsetName(id));
    viewport()->update();
}

void WndLog::haveMainData()
{
    updateScrollRange();
    scrollToEnd();
    viewport()->update();
}

int WndLog::visibleRows() const
{
    return std::max(1, viewport()->height() / m_lineHeight);
}

qint64 WndLog::maxTopRow() const
{
    // One empty row below the last line.
    return std::max<qint64>(0, qint64(m_pager->count()) + 1 - visibleRows());
}

qint64 WndLog::topRow() const
{
    const QScrollBar* bar = verticalScrollBar();
    if (bar->value() >= bar->maximum())
        return maxTopRow();
    return qint64(bar->value()) * m_rowsPerStep;
}

bool WndLog::showsEnd() const
{
    return topRow() * m_lineHeight + viewport()->height() > qint64(m_lineHeight) * m_pager->count();
}

void WndLog::updateScrollRange()
{
    const qint64 maxTop = maxTopRow();
    m_rowsPerStep = maxTop / INT_MAX + 1;
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, int(maxTop / m_rowsPerStep));
    vertical->setPageStep(std::max<int>(1, int(visibleRows() / m_rowsPerStep)));
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, ContentsWidth - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
}

void WndLog::scrollToEnd()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void WndLog::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void WndLog::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    viewport()->update();
}

void WndLog::paintEvent(QPaintEvent* event)
{
    const QRect rect = event->rect();
    const qint64 top = topRow();
    // A paint while a load runs starts nothing: the load ends with a repaint of the view.
    if (!m_loading && m_pager->isOpen() && !m_pager->isBackingOff()) {
        const qint64 first = firstRowOf(rect, top, m_lineHeight);
        const qint64 end = std::min<qint64>(endRowOf(rect, top, m_lineHeight), m_pager->count());
        if (first < end && !m_pager->covers(first, end)) {
            // Drawn once the load has ended; paints until then start nothing more.
            m_loading = true;
            m_paintRect = rect;
            m_loadTimer->start();
        }
    }
    QPainter painter(viewport());
    drawLines(painter, rect);
}

void WndLog::drawLines(QPainter& painter, const QRect& rect)
{
    painter.setPen(palette().color(QPalette::Text));
    const qint64 top = topRow();
    const int x = TextMargin - horizontalScrollBar()->value();
    const int firstLine = std::max(0, rect.top()) / m_lineHeight;
    const int lastLine = rect.bottom() / m_lineHeight;
    for (int line = firstLine; line <= lastLine; ++line) {
        const qint64 row = top + line;
        if (row >= qint64(m_pager->count()))
            break;
        if (m_pager->isCached(row))
            painter.drawText(x, line * m_lineHeight + m_ascent, m_pager->line(row));
    }
}

void WndLog::slotLoadData()
{
    // For where the view is now, which may differ from where it was at the paint.
    const qint64 top = topRow();
    m_pager->load(firstRowOf(m_paintRect, top, m_lineHeight),
                  endRowOf(m_paintRect, top, m_lineHeight));
}

void WndLog::loadFinished()
{
    m_loading = false;
    if (m_closePending)
        return;
    viewport()->update();
}

void WndLog::slotUpdateData(char* data, int len)
{
    if (m_closePending)
        return;
    const bool following = m_pager->count() != 0 && showsEnd();
    const LogPager::ExtentChange change = m_pager->applyUpdate(data, len);
    if (!change.changed)
        return;
    updateScrollRange();
    if (change.shortened || following)
        scrollToEnd();
    // New rows may have come into view without the view moving.
    viewport()->update();
}

void WndLog::slotClearLog()
{
    m_pager->clearLog();
}

void WndLog::logCleared()
{
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void WndLog::closeEvent(QCloseEvent* event)
{
    if (m_loading) {
        m_closePending = true;
        auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
        if (frame)
            frame->hide();
        hide();
        event->ignore();
        return;
    }
    const auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    const bool alsoDelete = testAttribute(Qt::WA_DeleteOnClose)
                            || (frame && frame->testAttribute(Qt::WA_DeleteOnClose));
    emit signalWindowClosed(this, alsoDelete);
    event->accept();
}

WndLog* createLogView(QWidget* parent, DBConn* conn, const QString& logName,
                      Qt::WindowFlags flags)
{
    const DBLOG log = makeLogDescriptor(logName);
    const bool debug = logDescriptorName(log).compare(QLatin1String("debug"), Qt::CaseInsensitive) == 0;
    return new WndLog(parent, conn, &log, debug ? "Corvane_Debug_Log" : "Corvane_Log", flags,
                      nullptr);
}
