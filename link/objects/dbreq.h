#pragma once

#include "vexadb.h"

#include <QByteArrayView>
#include <QPointer>
#include <QString>

#include <atomic>
#include <memory>

class DBConn;
class ProgressWait;
class QWidget;
struct RequestJob;

// One statement and its answer.
//
// Whoever needs data makes a request, hands it to DBConn::insert and either waits for
// it with wait() or polls m_finished (a timer that re-checks it keeps the interface
// alive too). Once m_finished reads true, m_status, m_error and m_errno hold the
// outcome and the cells can be read with read(). The owner keeps the request (on the
// stack or on the heap) and may destroy it at any time: an unfinished request is
// abandoned first, so that a request still queued is never sent and the answer of one
// being sent is discarded by the worker.
//
// GUI thread only, like the connection's insert(). The worker thread never touches
// the object once m_finished is set, and before that only through the request's
// shared part (see dbreq_p.h).
class DBReq
{
public:
    // withDesc keeps the answer's column descriptions readable through get_desc().
    DBReq(const QString &query, bool withDesc);
    ~DBReq();

    DBReq(const DBReq &) = delete;
    DBReq &operator=(const DBReq &) = delete;

    // Returns once the request is finished or abandoned. Every wait that lasts past the
    // indicator's delay shows the wait indicator with "Transfering data ..." and
    // "&Abort", which abandons the request: m_status 3, as for a refusal. With progress
    // it stands over parent or, while that is not on screen, over the nearest window that
    // is; without, over the main window; in both, on the modal dialog in front as the wait
    // began when that window lies below it (WndProgress::placementFor). Without progress,
    // while an indicator stands already (a series of requests keeps one up, see
    // ProgressWait), the wait shows none of its own and ends only with its request. User
    // input to the interface is held back meanwhile, while painting, timers and queued
    // calls go on; the wait counts as code of the module on the stack (WaitScope), under
    // which no window is destroyed. Past a first look of about 100 us for a fast answer,
    // the GUI thread sleeps until the worker wakes it.
    void wait(bool progress, QWidget *parent);

    // The same wait under an indicator the caller already holds (a run of statements
    // behind one indicator): it blocks nothing of its own, so the indicator's "&Abort"
    // stays clickable; it counts as code of the module on the stack (WaitScope) all the
    // same. Once "&Abort" was chosen, now or earlier, the wait returns false and the
    // request is abandoned (m_status 3), unless the worker finished it just before; true
    // when the request finished first.
    bool waitUnder(const ProgressWait &indicator);

    // Copies cell (row, col) of the answer into buf, *len giving its capacity; true
    // with *len the cell's length. On any failure false with the first byte of buf
    // cleared; when only the buffer was too small, *len holds the length needed.
    bool read(int row, int col, void *buf, int *len);

    // The bytes of cell (row, col) where the answer holds them, for a cell too large to
    // copy once more (a long log line): valid while the request lives. A null view when
    // the request did not finish with an answer or has no such cell.
    QByteArrayView cell(int row, int col) const;

    // The description of answer column col: false unless the request was made with
    // withDesc and the answer has that column. name gets at most len - 1 characters
    // and always its zero byte; type and flags are stored where given. reserved is
    // not used.
    bool get_desc(int col, char *name, int len, int *type, int *flags, int *reserved);

    // Rows of the answer; 0 unless the request succeeded with a row set that has columns.
    int rowCount() const;
    // Columns of the answer, as many as it describes; 0 unless the request succeeded with a
    // row set. Every row of an answer the protocol accepted carries a cell for each.
    int columnCount() const;

    // m_error as text.
    QString errorText() const;

    // Set, with release, after every other field: read the others only once this
    // reads true.
    std::atomic<bool> m_finished{false};
    bool m_hasresult = false;
    bool m_desc;
    vexadb_result m_result{};
    QString m_query;
    // 0 success; a code of the protocol's error table; 3 when the request was
    // abandoned or refused by a stopping connection.
    int m_status = 0;
    // "%s, code %d" with the error table's text for code 1, the table's text for
    // every other failure the worker met; empty for success and abandonment.
    char m_error[64] = {};
    int m_errno = 0; // the system error number with status 1

private:
    friend class DBConn;

    // Marks the request done by the GUI thread (status 3, no error text); the
    // worker then leaves it alone.
    void abandon();
    void finishAt(int status);
    void releaseAnswer();

    // The worker's side of the request while it is queued or being served.
    std::shared_ptr<RequestJob> m_job;
    // Where it was queued: an abandoned request leaves that queue.
    QPointer<DBConn> m_conn;
    // Cleared by the destructor, so that a wait whose event processing destroyed
    // its own request notices.
    std::shared_ptr<bool> m_alive;
};
