#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>

class DBConn;
class DBReq;
class QTextCodec;
class QTimer;
class QWidget;

// The lines of one server log that a viewer needs, fetched from the server a block at a
// time and kept in a cache around the rows in view; the log's identity and extent, and their
// changes as the server announces them. No widget: a viewer asks it for rows and paints
// what it holds, and tests drive it alone.
//
// Rows are relative line indexes: 0 is the log's first line, count() - 1 its last. The cache
// holds the rows [first(), end()); it is widened by a block of 50 rows beyond what a load
// needs (5 more below) and, after each load, trimmed to 150 rows around the rows asked for.
//
// The count the server announces (up to 2^32 - 1 lines) sizes nothing by itself: memory
// grows with the lines that arrived, a load asks for the rows around the view, and a range
// fetch hands its blocks over as they come. An answer may hold fewer rows than asked (a
// server that caps its answers): its rows are the first ones asked for, and the next
// request asks for the rows still missing, so every request makes progress; one that
// brings nothing backs off (below). A cache that ends less than a block above the rows is
// therefore continued from its end rather than replaced.
//
// A line arrives whole, however long. It is decoded straight from where the answer holds
// its bytes, so that while it is read the line exists twice (the answer's bytes and the
// text), and afterwards only as the cached text: a viewer shares that text and does not
// copy it.
//
// Nothing here waits: each request is polled from a timer while the event loop runs, so a
// viewer is never inside a nested event loop and may be deleted at any time; deleting the
// pager abandons its open requests (the connection then never sends or drops their answers).
//
// A load started before a change that empties the cache (a shortened or rotated log, a
// cleared log) carries the cache's old generation: its rows are discarded when they arrive
// and loadFinished() reports that nothing was brought, so that the viewer asks again.
//
// A load that brings no rows (a refused or failing request, an empty answer) is not
// repeated at once: for a second, or until the log's extent changes, backingOff() is true
// and retryAllowed() is emitted when it ends.
class LogPager : public QObject
{
    Q_OBJECT

public:
    // How the extent changed with an update notice.
    struct ExtentChange
    {
        bool changed = false; // count or first line number differ from before
        quint32 oldCount = 0;
        quint32 newCount = 0;
        bool shortened = false;
        bool firstMoved = false; // the first line number changed: the cache was emptied
    };

    // conn is not owned; the pager stops using it once it is gone. boxParent parents the
    // lost-connection box.
    LogPager(DBConn* conn, const QString& logName, QWidget* boxParent = nullptr,
             QObject* parent = nullptr);
    ~LogPager() override;

    // Asks the server for the log's id and extent; opened() follows when they are read.
    void open();
    bool isOpen() const { return m_logId >= 0; }

    const QString& logName() const { return m_logName; }
    int logId() const { return m_logId; }
    quint32 count() const { return m_count; }
    quint32 base() const { return m_base; }

    qint64 first() const { return m_first; }
    qint64 end() const { return m_end; }
    int cachedCount() const { return int(m_lines.size()); }
    // The cached text of row; row must lie in [first(), end()).
    const QString& line(qint64 row) const { return m_lines.at(std::size_t(row - m_first)); }
    bool isCached(qint64 row) const { return row >= m_first && row < m_end; }
    // Whether the rows from firstRow up to lastRow (exclusive) are all cached.
    bool covers(qint64 firstRow, qint64 lastRow) const;

    // Makes the rows [firstRow, lastRow) present, fetching one block when some are missing.
    // loadFinished() follows, at once when nothing is to be fetched. One load at a time: a
    // call while one runs is ignored.
    void load(qint64 firstRow, qint64 lastRow);
    bool isLoading() const;
    bool isBackingOff() const { return m_backingOff; }

    // Reads the rows [firstRow, lastRow) for a caller that needs more than the cache holds
    // (a copy of a long selection), a block of at most 5,000 rows at a time, leaving the
    // cache alone. Each block is handed over by rangeLines() as it arrives and kept no
    // longer, so memory grows with what the caller keeps, never with the range asked for.
    // rangeFetched() ends it: ok when every row came, false when a request failed, brought
    // no row or the log changed under it. An answer shorter than its block is continued
    // from where it ended. A new call abandons the one still running.
    void fetchRange(qint64 firstRow, qint64 lastRow);
    // Stops a range fetch under way, without rangeFetched().
    void abandonRange();
    bool isFetchingRange() const { return m_range != nullptr; }

    // One datagram of the update channel. Ignored until the log is open, and when it holds
    // no record of this log. Otherwise the notice is written to the connection's trace and
    // the extent taken over; a shortened log, or one whose first line moved, loses its cache.
    ExtentChange applyUpdate(const char* data, int len);

    // Asks the server to empty the log; cleared() follows when it did, with the cache
    // emptied and the count 0. A refusal or an empty answer changes nothing.
    void clearLog();
    bool isClearing() const { return m_ctrlReq != nullptr; }

    // Lines are decoded with this codec from the next load on; an unknown name or an empty
    // one takes the bytes as Latin-1.
    void setCodecName(const QByteArray& name);

    // Empties the cache, so that the rows are fetched (and decoded) again; a load that is
    // running brings nothing.
    void discardCache();

    // How many lines any load has ever received; for measurements.
    qint64 linesReceived() const { return m_linesReceived; }

    static QString logListStatement(const QString& logName);
    static QString logDataStatement(const QString& logName, quint64 from, quint64 count);
    static QString logCtrlStatement(const QString& action, const QString& logName);

signals:
    void opened();
    // The rows [firstRow, endRow) that a load has just put in the cache; loadFinished()
    // follows.
    void rowsArrived(qint64 firstRow, qint64 endRow);
    // brought: rows arrived and were cached.
    void loadFinished(bool brought);
    void cleared();
    void retryAllowed();
    // The rows from firstRow on, in order, of a fetchRange() under way.
    void rangeLines(qint64 firstRow, const QStringList& lines);
    void rangeFetched(bool ok);

private:
    enum class Placement { Replace, Prepend, Append };

    struct RowSpan
    {
        qint64 first = 0;
        qint64 end = 0;
    };

    struct Load
    {
        std::unique_ptr<DBReq> request;
        Placement placement = Placement::Append;
        qint64 from = 0;
        qint64 rows = 0; // asked for
        qint64 keepLow = 0;
        qint64 keepHigh = 0;
        quint64 generation = 0;
    };

    // The rows a fetchRange() still has to read.
    struct RangeFetch
    {
        std::unique_ptr<DBReq> request;
        qint64 next = 0;
        qint64 end = 0;
        qint64 asked = 0;
        quint64 generation = 0;
    };

    void poll();
    void pollList();
    void pollRange();
    bool readRangeBlock(DBReq& request, QStringList* lines) const;
    void failRange(bool lost);
    void requestNextRangeBlock();
    void pollData();
    void pollCtrl();
    void updatePolling();
    void readExtent(DBReq& request);
    RowSpan takeRows(DBReq& request, const Load& load);
    bool readLine(const DBReq& request, int row, QString* text) const;
    void trim(qint64 keepLow, qint64 keepHigh);
    void dropCache();
    void startBackOff();
    void endBackOff();
    void reportLostConnection();

    QPointer<DBConn> m_conn;
    QString m_logName;
    QPointer<QWidget> m_boxParent;

    int m_logId = -1;
    quint32 m_count = 0;
    quint32 m_base = 0;

    std::deque<QString> m_lines;
    qint64 m_first = 0;
    qint64 m_end = 0;
    quint64 m_generation = 0;

    std::unique_ptr<DBReq> m_listReq;
    std::unique_ptr<Load> m_load;
    std::unique_ptr<DBReq> m_ctrlReq;
    std::unique_ptr<RangeFetch> m_range;
    QTimer* m_pollTimer;

    bool m_backingOff = false;
    QTimer* m_backOffTimer;

    QTextCodec* m_codec = nullptr;
    qint64 m_linesReceived = 0;
};
