#pragma once

// Internals shared by requests and their connection.

#include "vexadb.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <mutex>

class DBReq;
class QWidget;

// The part of a request that the worker thread serves. The request and the
// connection's queue share it; whichever lets go last frees it, so a request
// abandoned while the worker sends it leaves the worker nothing dangling.
struct RequestJob
{
    RequestJob(DBReq *request, QByteArray text)
        : query(std::move(text))
        , owner(request)
    {
    }

    // Worker thread: hands the outcome to the request, or, when the request was
    // abandoned meanwhile, releases the answer unread. Takes the answer over
    // (answer is left not valid).
    void complete(int status, vexadb_result *answer, int sysError, const char *errorText);

    // GUI thread: detaches the request. False when the worker completed it first.
    bool release();

    const QByteArray query; // UTF-8, as it goes on the wire
    std::mutex lock;        // guards owner
    DBReq *owner;           // null once completed or abandoned
};

// The GUI thread's wait: runs the event loop until done() returns true, sleeping in the
// event dispatcher between events; a worker ends that sleep with WakeWatch::raise() once
// it has published what done() looks at. With progress a ProgressWait showing text
// stands over parent; without it an InputBlocker holds user input back. False when the
// administrator chose "&Abort" (the indicator is gone by then), else true.
bool waitUntil(const std::function<bool()> &done, bool progress, QWidget *parent,
               const QString &text);
