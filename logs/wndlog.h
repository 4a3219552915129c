#pragma once

#include "dblog.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class CharWidths;
class DBConn;
class Desktop;
class LineEdges;
class LogPager;
class QActionGroup;
class QMenu;
class QPainter;
class QTimer;
class WndProgress;

// The viewer of one server log: a scrolling area of one row per line of the log, in the
// main window's right pane or in a window of its own. It paints the lines its LogPager
// holds; a paint that reaches rows the pager lacks schedules one load, and the rows are
// painted once it has ended. It opens at the end of the log and follows the end while the
// administrator looks at it, as the server's update notices report the log growing.
//
// The scroll bar counts lines, not pixels, so a log of any length scrolls alike; below
// the last line there is one empty row. The area is 3000 pixels wide, or as wide as the
// widest line cached. Following the end, or keys that jump, bring it back to the left edge;
// under a selection, or one being dragged, a growing log only repaints.
//
// A line of any length is shown and copied whole, at a cost bounded by what is on screen:
// a line is measured as the sum of its characters' advances (CharWidths), walked once when
// it arrives, with the running sum kept every so many characters (LineEdges), and only the
// characters in view are drawn. The edges of long lines are kept while the pager holds the
// line, sharing its text.
//
// The administrator selects text by dragging (past the edges the view scrolls 30 pixels
// every 50 ms), a word by a double-click and a whole line by a double-click with Ctrl; the
// selection is kept by rows, so it survives scrolling away, and copying fetches the rows
// that have left the cache. Ctrl and Shift are taken from each event's own modifiers.
//
// A copy of up to MaxCopyLines lines is built as the rows arrive, under the wait indicator
// ("Transfering data ..." with "&Abort"; input waits meanwhile); a larger selection is
// refused with a box before anything is asked for. When the indicator goes, the keyboard
// focus goes back to where the copy found it, the view itself as a rule: a click on
// "&Abort" takes the focus, and the indicator hiding would pass it along the window's chain,
// in the main window to the navigation tree, where the next key would switch the page. The limit lets an administrator copy
// hundreds of thousands of lines, yet keeps a count the server announces (up to 2^32 - 1
// lines) from driving the copy's memory and requests.
//
// A close that comes while a load is scheduled or running hides the view and is refused
// (false, without signalWindowClosed); the view then stays hidden, ignores update notices
// and closes at the next close that comes when no load runs. Deleting the view at any
// time is safe: its open requests are abandoned.
class WndLog : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // The standard entries of the context menu; their ids are the value + 1.
    enum MenuType { Copy = 0, SelectFont = 1, Charset = 2, ClearLog = 3 };
    enum MenuId { CopyId = 1, SelectFontId = 2, CharsetId = 3, ClearLogId = 4, UnicodeId = 10 };
    // The most lines one copy takes.
    static constexpr qint64 MaxCopyLines = 1000000;

    // A place in the log: a row and an x in pixels from the left edge of the text area.
    struct LogPoint
    {
        qint64 row = 0;
        int x = 0;
    };

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

    bool hasSelection() const { return m_selected; }
    // The selected rows, first and last included.
    qint64 selectionFirstRow() const;
    qint64 selectionLastRow() const;
    // The selected characters of a cached row as [*from, *to); false when the row is not
    // selected or not cached.
    bool selectedColumns(qint64 row, int* from, int* to) const;
    void clearSelect();
    // What the last copy put on the clipboard; a copy that fetches rows sets it when they
    // have arrived (copyFinished()).
    const QString& copyText() const { return m_copyText; }

    // The index of the character under x (pixels from the text area's left edge) on the
    // cached row, the line's length when x lies right of its text. Character edges are
    // measured once per line and looked up by halves afterwards.
    int columnAt(qint64 row, int x) const;
    // Pixels from the text area's left edge to the start of character column of the row.
    int columnX(qint64 row, int column) const;
    // The characters of a cached row that the view shows at its horizontal position, as
    // [*from, *to), a character cut by either edge included: what a paint draws of it.
    // False when the row is not cached.
    bool shownColumns(qint64 row, int* from, int* to) const;

    // Fills the emptied context menu; a derived view adds its own entries.
    virtual void popupMenuCreate(QMenu* menu);
    // Appends one standard entry and returns its id (0 for an unknown type).
    int popupMenuAddStdItem(QMenu* menu, MenuType type);
    QMenu* charsetMenu() const { return m_charsetMenu; }

    // The view's own painting of the rows in rect of the viewport.
    void drawLines(QPainter& painter, const QRect& rect);

signals:
    void copyFinished(bool ok);
    // Just before the view closes: the view and whether it is deleted with the close.
    void signalWindowClosed(QWidget* window, bool alsoDelete);

public slots:
    void slotUpdateData(char* data, int len);
    void slotLoadData();
    void slotClearLog();
    void slotCopyText();
    void slotSelectFont();
    // 0 or UnicodeId shows the bytes as they came; 11 to 14 a character set.
    void slotSelectCharset(int id);
    // Every chosen entry of the context menu; the plain viewer has no entries of its own.
    virtual void slotPopupMenuSelect(int id);
    void slotScrollWindow();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // How the ends of a selection snap while it is made and after.
    enum class Snap { None, Words, Lines };
    std::shared_ptr<const LineEdges> edgesOf(const QString& text) const;
    void forgetLinesGone() const;
    void shownColumns(const LineEdges& edges, int* from, int* to) const;
    void drawSpan(QPainter& painter, const LineEdges& edges, int from, int to, int x0,
                  int baseline) const;
    int columnIn(const QString& text, int x) const;
    LogPoint pointAt(const QPoint& viewportPos) const;
    int pullBack(const LogPoint& point, int margin) const;
    void orderedEnds(LogPoint* start, LogPoint* end) const;
    int startColumn(const QString& text, int x) const;
    int endColumn(const QString& text, int x) const;
    void setCurrent(const LogPoint& point);
    void forgetSelection();
    void updateRows(qint64 first, qint64 last);
    void updateSelectionRows();
    void selectWord(qint64 row, int x);
    void scrollRows(qint64 rows);
    void setTopRow(qint64 row);
    void scrollByKey(int pixels);
    void showContextMenu(const QPoint& globalPos);
    // The menu key, or Shift+F10.
    static bool asksForTheMenu(const QKeyEvent* event);
    QPoint currentLineCorner() const;
    void refuseLongCopy(qint64 lines);
    void appendCopyLines(qint64 firstRow, const QStringList& lines);
    void appendCopyLine(qint64 row, const QString& line);
    void finishCopy(bool ok);
    void dismissCopyIndicator(bool linger);
    void abortCopyWhenAsked();
    void measureFont();
    void buildCharsetMenu();
    void checkCharsetEntry();
    void writeSetting(const char* key, const QString& value);
    void writeSetting(const char* key, int value);

    void haveMainData();
    void loadFinished();
    void logCleared();
    void updateScrollRange();
    void widenFor(qint64 firstRow, qint64 endRow);
    void measureCachedLines();
    void scrollToEnd();
    qint64 maxTopRow() const;
    void drawLine(QPainter& painter, qint64 row, int y, int x0);
    void readSettings();

    DBLOG m_log;
    LogPager* m_pager;
    QTimer* m_loadTimer;
    int m_charset = 0;
    int m_lineHeight = 1;
    int m_ascent = 0;
    // The area's width: at least 3000 pixels, and past the widest line cached.
    int m_contentWidth;
    // The vertical scroll bar's value times this is the top row: 1 unless the log has
    // more lines than the bar can count.
    qint64 m_rowsPerStep = 1;
    // The paint that scheduled the last load.
    QRect m_paintRect;
    bool m_loading = false;
    bool m_closePending = false;
    bool m_detached;
    Desktop* m_desktop;

    QMenu* m_popup;
    QMenu* m_charsetMenu;
    QActionGroup* m_charsetGroup;
    QTimer* m_scrollTimer;
    LogPoint m_anchor;
    LogPoint m_current;
    QString m_copyText;
    bool m_mousePressed = false;
    bool m_dragging = false;
    bool m_selected = false;
    Snap m_snap = Snap::None;
    // The rows the highlight covered when it was last painted, for erasing it.
    qint64 m_paintedFirst = 0;
    qint64 m_paintedLast = -1;
    int m_scrollDx = 0;
    int m_scrollDy = 0;
    // Pixels of automatic scrolling not yet made up by a whole row.
    int m_scrollRemainder = 0;
    bool m_copying = false;
    // The selection's ends, top first, when the copy under way began; its last row is
    // the log's last line when the selection reaches the empty row below it.
    LogPoint m_copyStart;
    LogPoint m_copyEnd;
    qint64 m_copyNextRow = 0;
    // The copy under way, built as its rows arrive.
    QString m_copyBuffer;
    // Dismissed without lingering when the copy is given up or the view goes with it.
    struct DismissIndicator
    {
        void operator()(WndProgress* indicator) const;
    };
    std::unique_ptr<WndProgress, DismissIndicator> m_copyIndicator;
    // The focus when the copy under the indicator began.
    QPointer<QWidget> m_focusBeforeCopy;
    QTimer* m_copyWatch;
    // The advances of the view's font; made anew when the font changes.
    std::unique_ptr<CharWidths> m_charWidths;
    // The edges of the long lines last measured, newest last; a short line is measured
    // again whenever it is asked for, which costs less than looking it up would.
    mutable std::vector<std::shared_ptr<const LineEdges>> m_longLineEdges;
};

// A viewer for the log named logName as the main window builds one, with no workspace:
// the log "debug" (in any case) under the object name "Corvane_Debug_Log", every other log
// under "Corvane_Log". The name is cut to what the log descriptor holds.
WndLog* createLogView(QWidget* parent, DBConn* conn, const QString& logName,
                      Qt::WindowFlags flags);
