#include "wndlog.h"

#include "wndlogdbg.h"

#include "charwidths.h"
#include "dbconn.h"
#include "desktop.h"
#include "logpager.h"
#include "dialogseam.h"
#include "lineedges.h"
#include "settingsstore.h"
#include "wndprogress.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// The area is at least this wide, and wider when a cached line needs it.
constexpr int ContentsWidth = 3000;
// Long lines whose edges are kept at least; a view that shows more keeps as many as it shows,
// so that a paint never walks a long line it walked before.
constexpr std::size_t LongLinesKept = 8;
constexpr int TextMargin = 2;
constexpr int LoadDelayMsecs = 5;
constexpr int HorizontalStep = 20;
constexpr int AutoScrollStep = 30;
constexpr int AutoScrollMsecs = 50;
constexpr int ShiftFactor = 10;
// How often a copy under way looks at its indicator's "&Abort".
constexpr int CopyWatchMsecs = 50;

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
    , m_contentWidth(ContentsWidth)
    , m_detached(parent && qstrcmp(parent->metaObject()->className(), "Desktop") == 0)
    , m_desktop(desktop)
    , m_popup(new QMenu(this))
    , m_charsetMenu(new QMenu(tr("C&harset coding"), this))
    , m_charsetGroup(new QActionGroup(this))
    , m_scrollTimer(new QTimer(this))
    , m_copyWatch(new QTimer(this))
{
    if (flags != Qt::Widget)
        setWindowFlags(flags);
    setObjectName(QLatin1String(name));

    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(HorizontalStep);

    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    buildCharsetMenu();
    m_scrollTimer->setSingleShot(true);
    m_scrollTimer->setInterval(AutoScrollMsecs);
    connect(m_scrollTimer, &QTimer::timeout, this, &WndLog::slotScrollWindow);
    connect(m_pager, &LogPager::rangeLines, this, &WndLog::appendCopyLines);
    connect(m_pager, &LogPager::rangeFetched, this, &WndLog::finishCopy);
    m_copyWatch->setInterval(CopyWatchMsecs);
    connect(m_copyWatch, &QTimer::timeout, this, &WndLog::abortCopyWhenAsked);

    if (m_desktop)
        readSettings();
    measureFont();

    m_loadTimer->setSingleShot(true);
    m_loadTimer->setInterval(LoadDelayMsecs);
    connect(m_loadTimer, &QTimer::timeout, this, &WndLog::slotLoadData);
    connect(m_pager, &LogPager::opened, this, &WndLog::haveMainData);
    connect(m_pager, &LogPager::rowsArrived, this, &WndLog::widenFor);
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
    checkCharsetEntry();
    viewport()->update();
}

void WndLog::measureFont()
{
    const QFontMetrics metrics(font());
    m_lineHeight = std::max(1, metrics.height());
    m_ascent = metrics.ascent();
    m_longLineEdges.clear();
    m_charWidths = std::make_unique<CharWidths>(font());
}

void WndLog::buildCharsetMenu()
{
    struct Entry
    {
        int id;
        const char* text;
    };
    static const Entry Entries[] = {
        {UnicodeId, QT_TR_NOOP("&Unicode")},
        {0, nullptr},
        {11, QT_TR_NOOP("Western (ISO 8859-&1)")},
        {12, QT_TR_NOOP("Western (ISO 8859-15)")},
        {0, nullptr},
        {13, QT_TR_NOOP("Central European (ISO 8859-&2)")},
        {14, QT_TR_NOOP("Central European (&CP 1250)")},
    };
    m_charsetGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const Entry& entry : Entries) {
        if (!entry.text) {
            m_charsetMenu->addSeparator();
            continue;
        }
        QAction* action = m_charsetMenu->addAction(tr(entry.text));
        action->setData(entry.id);
        action->setCheckable(true);
        m_charsetGroup->addAction(action);
        const int id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { slotSelectCharset(id); });
    }
    checkCharsetEntry();
}

// The entry of the character set in use carries the check mark; a value that names none
// leaves every entry unmarked.
void WndLog::checkCharsetEntry()
{
    const int checkedId = m_charset == 0 ? int(UnicodeId) : m_charset;
    for (QAction* action : m_charsetGroup->actions())
        action->setChecked(action->data().toInt() == checkedId);
}

void WndLog::writeSetting(const char* key, const QString& value)
{
    if (m_desktop)
        m_desktop->settings()->writeEntry(QLatin1String(key), value);
}

void WndLog::writeSetting(const char* key, int value)
{
    if (m_desktop)
        m_desktop->settings()->writeEntry(QLatin1String(key), value);
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
    horizontal->setRange(0, std::max(0, m_contentWidth - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
}

// Lines are measured once, as they arrive; the width shrinks back only when the cache is
// emptied, so that it never cuts a line still cached.
void WndLog::widenFor(qint64 firstRow, qint64 endRow)
{
    const qint64 end = std::min(endRow, m_pager->end());
    int width = m_contentWidth;
    for (qint64 row = std::max(firstRow, m_pager->first()); row < end; ++row)
        width = std::max(width, edgesOf(m_pager->line(row))->width() + 2 * TextMargin);
    if (width == m_contentWidth)
        return;
    m_contentWidth = width;
    updateScrollRange();
}

void WndLog::measureCachedLines()
{
    m_contentWidth = ContentsWidth;
    widenFor(m_pager->first(), m_pager->end());
    updateScrollRange();
}

void WndLog::scrollToEnd()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void WndLog::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    // Only a window of its own with a workspace remembers its size.
    if (m_desktop && m_detached) {
        const QString prefix = QStringLiteral("/Admin/Logs/%1/").arg(logDescriptorName(m_log));
        m_desktop->settings()->writeEntry(prefix + QLatin1String("width"), width());
        m_desktop->settings()->writeEntry(prefix + QLatin1String("height"), height());
    }
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
    const int x0 = TextMargin - horizontalScrollBar()->value();
    const int firstLine = std::max(0, rect.top()) / m_lineHeight;
    const int lastLine = rect.bottom() / m_lineHeight;
    for (int line = firstLine; line <= lastLine; ++line) {
        const qint64 row = top + line;
        if (row >= qint64(m_pager->count()))
            break;
        if (m_pager->isCached(row))
            drawLine(painter, row, line * m_lineHeight, x0);
    }
}

// Only the characters in view are drawn, each run at the measured edge of its first
// character, so that a line of megabytes costs a paint no more than a short one, and what
// is highlighted is exactly what a copy takes.
void WndLog::drawLine(QPainter& painter, qint64 row, int y, int x0)
{
    const std::shared_ptr<const LineEdges> edges = edgesOf(m_pager->line(row));
    const int baseline = y + m_ascent;
    int shownFrom = 0;
    int shownTo = 0;
    shownColumns(*edges, &shownFrom, &shownTo);
    int from = 0;
    int to = 0;
    if (!selectedColumns(row, &from, &to) || from >= to) {
        drawSpan(painter, *edges, shownFrom, shownTo, x0, baseline);
        return;
    }
    const int bandFrom = std::clamp(from, shownFrom, shownTo);
    const int bandTo = std::clamp(to, shownFrom, shownTo);
    drawSpan(painter, *edges, shownFrom, bandFrom, x0, baseline);
    if (bandFrom < bandTo) {
        const int left = x0 + edges->edge(bandFrom);
        const QRect band(left, y, x0 + edges->edge(bandTo) - left, m_lineHeight);
        painter.fillRect(band, palette().brush(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
        drawSpan(painter, *edges, bandFrom, bandTo, x0, baseline);
        painter.setPen(palette().color(QPalette::Text));
    }
    drawSpan(painter, *edges, bandTo, shownTo, x0, baseline);
}

void WndLog::drawSpan(QPainter& painter, const LineEdges& edges, int from, int to, int x0,
                      int baseline) const
{
    if (from < to)
        painter.drawText(x0 + edges.edge(from), baseline, edges.text().mid(from, to - from));
}

bool WndLog::shownColumns(qint64 row, int* from, int* to) const
{
    if (!m_pager->isCached(row))
        return false;
    shownColumns(*edgesOf(m_pager->line(row)), from, to);
    return true;
}

// One character more on either side: a glyph may reach past its advance.
void WndLog::shownColumns(const LineEdges& edges, int* from, int* to) const
{
    const int left = horizontalScrollBar()->value() - TextMargin;
    const int length = int(edges.text().size());
    *from = std::max(0, edges.columnAt(left) - 1);
    *to = std::min(length, edges.columnAt(left + viewport()->width()) + 2);
}

// A long line is walked once for its edges, and they are kept while the pager holds the
// line.
std::shared_ptr<const LineEdges> WndLog::edgesOf(const QString& text) const
{
    // Whatever is asked for: a view that has only short lines left to measure must not keep
    // the long ones the pager let go.
    forgetLinesGone();
    if (text.size() <= LineEdges::StepChars)
        return std::make_shared<const LineEdges>(text, *m_charWidths);
    for (const std::shared_ptr<const LineEdges>& entry : m_longLineEdges) {
        if (entry->text().constData() == text.constData() && entry->text().size() == text.size())
            return entry;
    }
    // Entries share their lines' text and hold a sum every few hundred characters: keeping
    // one for every row in view costs little beside the lines themselves.
    const std::size_t kept = std::max(LongLinesKept, std::size_t(std::max(0, visibleRows())) + 1);
    if (m_longLineEdges.size() >= kept)
        m_longLineEdges.erase(m_longLineEdges.begin());
    m_longLineEdges.push_back(std::make_shared<const LineEdges>(text, *m_charWidths));
    return m_longLineEdges.back();
}

// An entry whose text nobody else holds any more belongs to a line that is gone; its text
// alone would keep the line's characters alive.
void WndLog::forgetLinesGone() const
{
    const auto gone = [](const std::shared_ptr<const LineEdges>& entry) {
        return entry->text().isDetached();
    };
    m_longLineEdges.erase(std::remove_if(m_longLineEdges.begin(), m_longLineEdges.end(), gone),
                          m_longLineEdges.end());
}

int WndLog::columnAt(qint64 row, int x) const
{
    return m_pager->isCached(row) ? columnIn(m_pager->line(row), x) : 0;
}

int WndLog::columnIn(const QString& text, int x) const
{
    return edgesOf(text)->columnAt(x - TextMargin);
}

int WndLog::columnX(qint64 row, int column) const
{
    if (!m_pager->isCached(row))
        return 0;
    return edgesOf(m_pager->line(row))->edge(column);
}

void WndLog::orderedEnds(LogPoint* start, LogPoint* end) const
{
    *start = m_anchor;
    *end = m_current;
    if (start->row > end->row || (start->row == end->row && start->x > end->x))
        std::swap(*start, *end);
}

qint64 WndLog::selectionFirstRow() const
{
    return std::min(m_anchor.row, m_current.row);
}

qint64 WndLog::selectionLastRow() const
{
    return std::max(m_anchor.row, m_current.row);
}

int WndLog::startColumn(const QString& text, int x) const
{
    const int column = columnIn(text, x);
    switch (m_snap) {
    case Snap::Lines:
        return 0;
    case Snap::Words:
        if (column >= text.size())
            return column;
        return int(text.lastIndexOf(QLatin1Char(' '), column)) + 1;
    case Snap::None:
        break;
    }
    return column;
}

int WndLog::endColumn(const QString& text, int x) const
{
    const int column = columnIn(text, x);
    switch (m_snap) {
    case Snap::Lines:
        return int(text.size());
    case Snap::Words: {
        const qsizetype space = text.indexOf(QLatin1Char(' '), column);
        return int(space < 0 ? text.size() : space);
    }
    case Snap::None:
        break;
    }
    return column;
}

bool WndLog::selectedColumns(qint64 row, int* from, int* to) const
{
    if ((!m_selected && !m_dragging) || !m_pager->isCached(row))
        return false;
    LogPoint start;
    LogPoint end;
    orderedEnds(&start, &end);
    if (row < start.row || row > end.row)
        return false;
    const QString& text = m_pager->line(row);
    *from = row == start.row ? startColumn(text, start.x) : 0;
    *to = row == end.row ? endColumn(text, end.x) : int(text.size());
    *to = std::max(*from, *to);
    return true;
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
    // The rows are numbered anew: a selection would now cover other lines.
    const bool renumbered = change.shortened || change.firstMoved;
    if (renumbered) {
        forgetSelection();
        measureCachedLines();
    }
    updateScrollRange();
    // Under a selection, or one being dragged, the rows stay where they are: the pointer
    // keeps the row it is over.
    if (change.shortened || (following && !m_dragging && !m_selected))
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
    forgetSelection();
    measureCachedLines();
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


// --- Selection -------------------------------------------------------------------------

WndLog::LogPoint WndLog::pointAt(const QPoint& viewportPos) const
{
    LogPoint point;
    const int y = viewportPos.y();
    const qint64 line = y >= 0 ? y / m_lineHeight : -((m_lineHeight - 1 - y) / m_lineHeight);
    point.row = std::clamp<qint64>(topRow() + line, 0, qint64(m_pager->count()));
    point.x = std::max(0, viewportPos.x() + horizontalScrollBar()->value());
    return point;
}

// An x right of the row's text is taken back to just past its end, so that automatic
// scrolling to the right starts only where there is text.
int WndLog::pullBack(const LogPoint& point, int margin) const
{
    if (!m_pager->isCached(point.row))
        return point.x;
    const int width = columnX(point.row, int(m_pager->line(point.row).size()));
    return point.x > width + TextMargin ? width + margin : point.x;
}

void WndLog::forgetSelection()
{
    clearSelect();
    m_mousePressed = false;
    m_scrollDx = m_scrollDy = 0;
    // A copy under way belongs to lines that are gone.
    m_copying = false;
}

void WndLog::clearSelect()
{
    if (m_selected || m_dragging)
        updateSelectionRows();
    m_selected = false;
    m_dragging = false;
    m_snap = Snap::None;
}

// Qt paints only in paint events: the rows whose highlight may change are invalidated,
// those it covered when last painted and those it covers now.
void WndLog::updateSelectionRows()
{
    const qint64 first = selectionFirstRow();
    const qint64 last = selectionLastRow();
    updateRows(std::min(first, m_paintedFirst), std::max(last, m_paintedLast));
    m_paintedFirst = first;
    m_paintedLast = last;
}

void WndLog::updateRows(qint64 first, qint64 last)
{
    const qint64 top = topRow();
    const qint64 from = std::max<qint64>(first, top);
    const qint64 to = std::min<qint64>(last, top + visibleRows() + 1);
    if (from > to)
        return;
    viewport()->update(0, int(from - top) * m_lineHeight, viewport()->width(),
                       int(to - from + 1) * m_lineHeight);
}

void WndLog::setCurrent(const LogPoint& point)
{
    m_current = point;
    updateSelectionRows();
}

void WndLog::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (event->button() == Qt::LeftButton) {
        m_copyText.clear();
        LogPoint point = pointAt(event->position().toPoint());
        point.x = pullBack(point, 4);
        const int y = event->position().toPoint().y();
        // Below the row after the last line nothing is selected, nor cleared.
        if (y >= 0 && topRow() + y / m_lineHeight <= qint64(m_pager->count())) {
            clearSelect();
            m_mousePressed = true;
            m_anchor = m_current = point;
            m_paintedFirst = m_paintedLast = point.row;
        }
        viewport()->setCursor(Qt::IBeamCursor);
    } else if (event->button() == Qt::RightButton && !m_mousePressed) {
        showContextMenu(event->globalPosition().toPoint());
    }
}

void WndLog::mouseMoveEvent(QMouseEvent* event)
{
    m_scrollDx = m_scrollDy = 0;
    if (!(event->buttons() & Qt::LeftButton) || !m_mousePressed)
        return;
    const QPoint pos = event->position().toPoint();
    LogPoint point = pointAt(pos);
    point.x = pullBack(point, TextMargin);
    m_dragging = true;
    m_snap = (event->modifiers() & Qt::ShiftModifier)     ? Snap::Lines
             : (event->modifiers() & Qt::ControlModifier) ? Snap::Words
                                                          : Snap::None;
    setCurrent(point);

    const int contentsX = horizontalScrollBar()->value();
    if (pos.y() < 0)
        m_scrollDy = -AutoScrollStep;
    else if (pos.y() > viewport()->height())
        m_scrollDy = AutoScrollStep;
    if (point.x < contentsX)
        m_scrollDx = -AutoScrollStep;
    else if (point.x > contentsX + viewport()->width())
        m_scrollDx = AutoScrollStep;
    if (!m_scrollTimer->isActive() && (m_scrollDx || m_scrollDy))
        slotScrollWindow();
}

void WndLog::slotScrollWindow()
{
    if (!m_scrollDx && !m_scrollDy)
        return;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setValue(horizontal->value() + m_scrollDx);
    if (m_scrollDy) {
        // The view scrolls by whole rows; pixels short of a row are carried to the next step.
        m_scrollRemainder += m_scrollDy;
        const qint64 rows = m_scrollRemainder / m_lineHeight;
        m_scrollRemainder -= int(rows) * m_lineHeight;
        const qint64 before = topRow();
        scrollRows(rows);
        LogPoint point = m_current;
        point.row = std::clamp<qint64>(point.row + (topRow() - before), 0,
                                       qint64(m_pager->count()));
        setCurrent(point);
    }
    m_scrollTimer->start();
}

void WndLog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_mousePressed = false;
    m_scrollDx = m_scrollDy = 0;
    m_scrollRemainder = 0;
    m_scrollTimer->stop();
    if (m_dragging) {
        const QPoint pos = event->position().toPoint();
        LogPoint point = pointAt(pos);
        point.x = pullBack(point, TextMargin);
        // Released outside the view: the view moves one row and the selection ends at the
        // row inside the edge.
        if (pos.y() < 0) {
            scrollRows(-1);
            point.row = std::min<qint64>(topRow() + 1, m_pager->count());
        } else if (pos.y() > viewport()->height()) {
            scrollRows(1);
            point.row = std::min<qint64>(topRow() + visibleRows() - 1, m_pager->count());
        }
        QScrollBar* horizontal = horizontalScrollBar();
        if (point.x < horizontal->value())
            horizontal->setValue(point.x);
        else if (point.x > horizontal->value() + viewport()->width())
            horizontal->setValue(point.x - viewport()->width());
        setCurrent(point);
        m_dragging = false;
        m_selected = true;
    }
    viewport()->setCursor(Qt::ArrowCursor);
}

void WndLog::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const LogPoint point = pointAt(event->position().toPoint());
    clearSelect();
    m_mousePressed = false;
    if (!m_pager->isCached(point.row))
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        m_anchor = {point.row, 0};
        m_current = {point.row, INT_MAX / 2};
        m_selected = true;
        updateSelectionRows();
        return;
    }
    selectWord(point.row, point.x);
}

// The run of non-blank characters under x; nothing when x is on a blank or past the text.
void WndLog::selectWord(qint64 row, int x)
{
    const QString& text = m_pager->line(row);
    const int column = columnAt(row, x);
    if (column >= text.size() || text.at(column).isSpace())
        return;
    int from = column;
    while (from > 0 && !text.at(from - 1).isSpace())
        --from;
    int to = column;
    while (to < text.size() && !text.at(to).isSpace())
        ++to;
    m_anchor = {row, columnX(row, from) + TextMargin};
    m_current = {row, columnX(row, to) + TextMargin};
    m_selected = true;
    updateSelectionRows();
}

// --- Keys and scrolling ------------------------------------------------------------------

void WndLog::setTopRow(qint64 row)
{
    QScrollBar* vertical = verticalScrollBar();
    const qint64 top = std::clamp<qint64>(row, 0, maxTopRow());
    vertical->setValue(top >= maxTopRow() ? vertical->maximum() : int(top / m_rowsPerStep));
}

void WndLog::scrollRows(qint64 rows)
{
    if (rows)
        setTopRow(topRow() + rows);
}

void WndLog::scrollByKey(int pixels)
{
    scrollRows(pixels / m_lineHeight);
}

void WndLog::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int factor = (event->modifiers() & Qt::ShiftModifier) ? ShiftFactor : 1;
    const int page = std::max(m_lineHeight, viewport()->height() - m_lineHeight);
    const int key = event->key();
    if (ctrl && (key == Qt::Key_C || key == Qt::Key_Insert)) {
        slotCopyText();
        return;
    }
    if (asksForTheMenu(event)) {
        showContextMenu(currentLineCorner());
        return;
    }
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    clearSelect();
    m_mousePressed = false;
    switch (key) {
    case Qt::Key_Up: scrollByKey(-m_lineHeight * factor); break;
    case Qt::Key_Down: scrollByKey(m_lineHeight * factor); break;
    case Qt::Key_PageUp: scrollByKey(-page * factor); break;
    case Qt::Key_PageDown: scrollByKey(page * factor); break;
    case Qt::Key_Home:
        horizontalScrollBar()->setValue(0);
        setTopRow(0);
        break;
    case Qt::Key_End:
        scrollToEnd();
        break;
    default: break;
    }
}

// --- Copy --------------------------------------------------------------------------------

void WndLog::slotCopyText()
{
    if (!m_selected || m_copying)
        return;
    orderedEnds(&m_copyStart, &m_copyEnd);
    // The empty row below the last line adds nothing: the last line is taken whole.
    const qint64 lastLine = qint64(m_pager->count()) - 1;
    if (m_copyEnd.row > lastLine)
        m_copyEnd = {lastLine, INT_MAX / 2};
    const qint64 lines = m_copyEnd.row - m_copyStart.row + 1;
    if (lines <= 0 || lines > MaxCopyLines) {
        // The box runs an event loop, under which the view may go.
        const QPointer<WndLog> self(this);
        if (lines > 0)
            refuseLongCopy(lines);
        if (self)
            emit copyFinished(false);
        return;
    }
    m_copying = true;
    m_copyBuffer.clear();
    m_copyNextRow = m_copyStart.row;
    if (m_pager->covers(m_copyStart.row, m_copyEnd.row + 1)) {
        for (qint64 row = m_copyStart.row; row <= m_copyEnd.row; ++row)
            appendCopyLine(row, m_pager->line(row));
        finishCopy(true);
        return;
    }
    // Rows that left the cache are read again; the copy ends when they have come, with the
    // selection as it was now. Input waits meanwhile, but for "&Abort".
    m_focusBeforeCopy = QApplication::focusWidget();
    m_copyIndicator.reset(new WndProgress(
        this, QCoreApplication::translate("WndProgress", "Transfering data ...")));
    m_copyWatch->start();
    m_pager->fetchRange(m_copyStart.row, m_copyEnd.row + 1);
}

void WndLog::refuseLongCopy(qint64 lines)
{
    Dialogs::warning(this, tr("Ornel Administration Console"),
                     tr("The selection holds %1 lines; at most %2 lines can be copied at once.\n"
                        "Select fewer lines and copy again.")
                         .arg(lines)
                         .arg(MaxCopyLines));
}

void WndLog::appendCopyLines(qint64 firstRow, const QStringList& lines)
{
    // Rows that do not follow on are not the copy's; it fails at its end.
    if (!m_copying || firstRow != m_copyNextRow)
        return;
    for (qsizetype i = 0; i < lines.size() && m_copyNextRow <= m_copyEnd.row; ++i)
        appendCopyLine(m_copyNextRow, lines.at(i));
}

// Column positions come from measuring the text as the view shows it.
void WndLog::appendCopyLine(qint64 row, const QString& line)
{
    const int from = row == m_copyStart.row ? startColumn(line, m_copyStart.x) : 0;
    const int end = row == m_copyEnd.row ? endColumn(line, m_copyEnd.x) : int(line.size());
    const int to = std::max(from, end);
    if (row > m_copyStart.row)
        m_copyBuffer += QLatin1String("\r\n");
    // A copy that begins with a whole line shares it: one line alone costs nothing more.
    if (m_copyBuffer.isEmpty() && from == 0 && to == line.size())
        m_copyBuffer = line;
    else
        m_copyBuffer += QStringView(line).mid(from, to - from);
    m_copyNextRow = row + 1;
}

void WndLog::finishCopy(bool ok)
{
    // A copy given up when its lines were renumbered leaves the clipboard alone.
    const bool done = ok && m_copying && m_copyNextRow == m_copyEnd.row + 1;
    m_copying = false;
    m_copyWatch->stop();
    if (done) {
        m_copyText = std::move(m_copyBuffer);
        // The application's clipboard, whichever window copies.
        QApplication::clipboard()->setText(m_copyText);
    }
    m_copyBuffer = QString();
    dismissCopyIndicator(done);
    emit copyFinished(done);
}

void WndLog::dismissCopyIndicator(bool linger)
{
    if (!m_copyIndicator)
        return;
    // A copy that came through lets its indicator stay up long enough to be read.
    if (linger)
        delete m_copyIndicator.release();
    m_copyIndicator.reset();
    const QPointer<QWidget> focus = std::exchange(m_focusBeforeCopy, nullptr);
    if (focus && focus->isVisible())
        focus->setFocus(Qt::OtherFocusReason);
}

void WndLog::abortCopyWhenAsked()
{
    if (m_copyIndicator && !m_copyIndicator->aborted())
        return;
    m_pager->abandonRange();
    m_copying = false;
    finishCopy(false);
}

void WndLog::DismissIndicator::operator()(WndProgress* indicator) const
{
    // An aborted indicator goes at once.
    indicator->slotAbort();
    delete indicator;
}

// --- Font, character set and the context menu ---------------------------------------------

void WndLog::slotSelectFont()
{
    bool ok = false;
    const QFont chosen = Dialogs::getFont(&ok, font(), nullptr);
    if (ok)
        setFont(chosen);
    writeSetting(FontKey, font().toString());
    clearSelect();
    measureFont();
    measureCachedLines();
    viewport()->update();
}

void WndLog::slotSelectCharset(int id)
{
    clearSelect();
    selectCharset(id == UnicodeId ? 0 : id);
    // The lines are read and decoded again; a load under way brings nothing.
    m_pager->discardCache();
    measureCachedLines();
    writeSetting(CharsetKey, m_charset);
}

void WndLog::popupMenuCreate(QMenu* menu)
{
    popupMenuAddStdItem(menu, Copy);
    const QString name = objectName();
    if (name == QLatin1String("Corvane_Log") || name == QLatin1String("Corvane_Debug_Log"))
        return;
    menu->addSeparator();
    popupMenuAddStdItem(menu, SelectFont);
    popupMenuAddStdItem(menu, Charset);
    menu->addSeparator();
    popupMenuAddStdItem(menu, ClearLog);
}

int WndLog::popupMenuAddStdItem(QMenu* menu, MenuType type)
{
    QAction* action = nullptr;
    switch (type) {
    case Copy:
        action = menu->addAction(tr("&Copy"), this, &WndLog::slotCopyText);
        action->setShortcut(QKeySequence::fromString(tr("Ctrl+C")));
        action->setEnabled(m_selected);
        break;
    case SelectFont:
        action = menu->addAction(tr("Select &font..."), this, &WndLog::slotSelectFont);
        action->setShortcut(QKeySequence::fromString(tr("Ctrl+F")));
        break;
    case Charset:
        action = menu->addMenu(m_charsetMenu);
        break;
    case ClearLog:
        action = menu->addAction(tr("&Clear log"), this, &WndLog::slotClearLog);
        action->setShortcut(QKeySequence::fromString(tr("Ctrl+L")));
        break;
    default:
        return 0;
    }
    const int id = int(type) + 1;
    action->setData(id);
    return id;
}

void WndLog::slotPopupMenuSelect(int /*id*/)
{
}

// The window system turns the menu key into a menu asked for from the keyboard as well, just
// before the key itself; a menu is opened for it then, and the key that follows goes to it.
void WndLog::contextMenuEvent(QContextMenuEvent* event)
{
    // The right button opens the menu as it is pressed.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    showContextMenu(currentLineCorner());
}

bool WndLog::asksForTheMenu(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
           || (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

// A menu asked for from the keyboard opens below the current line, at the left of its text:
// the line the selection ends on, where the view shows it, else the first line shown.
QPoint WndLog::currentLineCorner() const
{
    const qint64 top = topRow();
    const qint64 row = m_selected && m_current.row >= top && m_current.row < top + visibleRows() ? m_current.row : top;
    return viewport()->mapToGlobal(QPoint(TextMargin, int(row - top + 1) * m_lineHeight));
}

void WndLog::showContextMenu(const QPoint& globalPos)
{
    m_popup->clear();
    popupMenuCreate(m_popup);
    const QPointer<WndLog> self(this);
    QAction* chosen = m_popup->exec(globalPos);
    if (self && chosen && chosen->data().isValid())
        slotPopupMenuSelect(chosen->data().toInt());
}

WndLog* createLogView(QWidget* parent, DBConn* conn, const QString& logName,
                      Qt::WindowFlags flags)
{
    const DBLOG log = makeLogDescriptor(logName);
    const bool debug = logDescriptorName(log).compare(QLatin1String("debug"), Qt::CaseInsensitive) == 0;
    if (debug)
        return new WndLogDbg(parent, conn, &log, "Corvane_Debug_Log", flags, nullptr);
    return new WndLog(parent, conn, &log, "Corvane_Log", flags, nullptr);
}
