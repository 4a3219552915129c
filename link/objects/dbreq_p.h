#pragma once

// Internals shared by requests and their connection.

#include "vexadb.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

class DBReq;
class ProgressWait;
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

// Watches, without sleeping, for a change another thread is about to make: true once
// holds() returns true, false when span has passed first. Waking a sleeping thread costs
// about as much as a round trip over a fast link (more on an idle machine, whose
// processors doze), so a hand-over expected within that time is cheaper watched. Each
// look yields the processor, so that on a busy machine the threads that are to make the
// change can run. Keep span to a few hundred microseconds at most.
template<typename Condition>
bool watchBriefly(Condition holds, std::chrono::microseconds span)
{
    const auto deadline = std::chrono::steady_clock::now() + span;
    while (!holds()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

// The GUI thread's wait: runs the event loop until done() returns true, sleeping in the
// event dispatcher between events; a worker ends that sleep with WakeWatch::raise() once
// it has published what done() looks at. An answer that comes within the first
// AnswerWatchSpan is taken before the wait sleeps at all (watchBriefly): over a fast link
// most do, and no event is missed in that time. A wait that lasts past the indicator's
// delay always shows it: with progress a ProgressWait showing text stands over parent,
// without over the main window, either moved to the modal dialog in front as the wait
// began when it lies below that dialog (WndProgress::placementFor). Without progress it
// shows none of its own while an indicator stands already (ProgressWait::isStanding: an
// apply's, an outer wait's), which is then this wait's too, and only an InputBlocker
// holds user input back. False when the administrator chose "&Abort" of the wait's own
// indicator (gone by then), else true. While it sleeps and runs events, a WaitScope marks
// the wait on the stack.
bool waitUntil(const std::function<bool()> &done, bool progress, QWidget *parent,
               const QString &text);

// waitUntil() under an indicator that the caller holds and that stays up across several
// waits: no indicator or input block of its own, so the indicator's "&Abort" reaches it.
// A WaitScope marks it on the stack all the same. False when "&Abort" was chosen before
// done() returned true, else true.
bool waitUnderIndicator(const std::function<bool()> &done, const ProgressWait &indicator);
