#pragma once

#include "dblog.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QRect>

class DBConn;
class Desktop;
class LogPager;
class QTimer;

// The viewer of one server log: a scrolling area of one row per line of the log, in the
// main window's right pane or in a window of its own. It paints the lines its LogPager
// holds; a paint that reaches rows the pager lacks schedules one load, and the rows are
// painted once it has ended. It opens at the end of the log and follows the end while the
// administrator looks at it, as the server's update notices report the log growing.
//
// The scroll bar counts lines, not pixels, so a log of any length scrolls alike; below
// the last line there is one empty row.
//
// A close that comes while a load is scheduled or running hides the view and is refused
// (false, without signalWindowClosed); the view then stays hidden, ignores update notices
// and closes at the next close that comes when no load runs. Deleting the view at any
// time is safe: its open requests are abandoned.
class WndLog : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // parent: the window to live in; a Desktop makes it a window of its own. conn is not
    // owned. log is copied. flags are the widget's window flags. desktop, when given, holds
    // the font and character set the view starts with; the main window gives none.
    WndLog(QWidget* parent, DBConn* conn, const DBLOG* log, const char* name,
           Qt::WindowFlags flags, Desktop* desktop);
    ~WndLog() override;

    LogPager* pager() const { return m_pager; }
    const DBLOG& logDescriptor() const { return m_log; }
    bool isDetached() const { return m_detached; }
    bool isClosePending() const { return m_closePending; }
    // A load is scheduled or running.
    bool isLoading() const { return m_loading; }
    int lineHeight() const { return m_lineHeight; }
    // The log's row shown at the top of the view.
    qint64 topRow() const;
    // How many whole rows the view shows.
    int visibleRows() const;
    // Whether the view shows the log's last line (or the empty row below it).
    bool showsEnd() const;

    // Lines are decoded with the codec of this character-set id: 11 "ISO 8859-1",
    // 12 "ISO 8859-15", 13 "ISO 8859-2", 14 "CP 1250"; any other id keeps them Latin-1.
    void selectCharset(int id);
    int charset() const { return m_charset; }
    static QByteArray charsetName(int id);

signals:
    // Just before the view closes: the view and whether it is deleted with the close.
    void signalWindowClosed(QWidget* window, bool alsoDelete);

public slots:
    void slotUpdateData(char* data, int len);
    void slotLoadData();
    void slotClearLog();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void haveMainData();
    void loadFinished();
    void logCleared();
    void updateScrollRange();
    void scrollToEnd();
    qint64 maxTopRow() const;
    void drawLines(QPainter& painter, const QRect& rect);
    void readSettings();

    DBLOG m_log;
    LogPager* m_pager;
    QTimer* m_loadTimer;
    int m_charset = 0;
    int m_lineHeight = 1;
    int m_ascent = 0;
    // The vertical scroll bar's value times this is the top row: 1 unless the log has
    // more lines than the bar can count.
    qint64 m_rowsPerStep = 1;
    // The paint that scheduled the last load.
    QRect m_paintRect;
    bool m_loading = false;
    bool m_closePending = false;
    bool m_detached;
    Desktop* m_desktop;
};

// A viewer for the log named logName as the main window builds one, with no workspace:
// the log "debug" (in any case) under the object name "Corvane_Debug_Log", every other log
// under "Corvane_Log". The name is cut to what the log descriptor holds.
WndLog* createLogView(QWidget* parent, DBConn* conn, const QString& logName,
                      Qt::WindowFlags flags);
