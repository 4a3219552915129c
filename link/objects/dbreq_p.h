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

// How long a wait sleeps at most between two rounds of event processing, and how long
// each round may take while a request runs and while a connection is set up.
constexpr int WaitSleepMs = 15;
constexpr int RequestEventSliceMs = 10;
constexpr int ConnectEventSliceMs = 15;

// Wakes the GUI thread's waits at once when a request finishes or a connection's state
// changes, so that a wait does not sleep out its whole pause after the answer is in.
// Called by the worker after it has published the change.
void wakeWaiters();

// The GUI thread's wait: until done() returns true, sleeps up to WaitSleepMs (less when
// woken by wakeWaiters) and then processes events for up to eventSliceMs. With progress
// a WndProgress showing text stands over parent; without it an InputBlocker holds user
// input back. False when the administrator chose "&Abort" (the indicator is gone by
// then), else true.
bool pollUntil(const std::function<bool()> &done, bool progress, QWidget *parent,
               const QString &text, int eventSliceMs);
