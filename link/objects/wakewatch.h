#pragma once

class QSocketNotifier;

// How a worker thread wakes the GUI thread's waits without their polling.
//
// A wait runs the event loop until its request finishes (or its connection's state
// changes), sleeping in the event dispatcher meanwhile; raise(), called by a worker
// after it has published such a change, makes that sleep end at once. Events that
// arrive meanwhile (paint, timers, queued calls) wake it too and are handled as usual.
//
// The signal is one event descriptor for the whole module; while at least one
// WakeWatch exists, a socket notifier on the GUI thread drains it. Watches nest like
// the waits that hold them: the outermost makes the notifier, the last to go removes
// it, so that nothing of it outlives the waits. A raise() that nobody watches stays
// pending and makes the next wait look at its request once, early: harmless.
class WakeWatch
{
public:
    // GUI thread only.
    WakeWatch();
    ~WakeWatch();

    WakeWatch(const WakeWatch &) = delete;
    WakeWatch &operator=(const WakeWatch &) = delete;

    // Any thread. Wakes the GUI thread if it sleeps under a watch.
    static void raise();

    // False when the signal could not be made (no descriptor left): waits must then
    // look at their request now and then by themselves.
    static bool isAvailable();

    // The signal's descriptor, readable from a raise() until a watch drains it; -1 when
    // the signal could not be made. For tests, which see through it that a worker raised
    // the signal rather than that some wait ended in time.
    static int descriptor();

    // For tests: called on the raising thread right after every raise(), the signal written.
    // A test holds a worker there to see what the GUI thread makes of the wake alone: a
    // worker must have published what the wake announces before it raises. Null, as by
    // default: nothing is called. Any thread.
    using RaiseObserver = void (*)();
    static void setRaiseObserver(RaiseObserver observer);

private:
    static void drain();
};
