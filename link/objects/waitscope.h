#pragma once

#include <functional>

// Marks a wait of the module on the stack for as long as it exists: code that runs the
// event loop while it waits (DBReq::wait, DBReq::waitUnder and so every statement of an
// apply, DBConn::connwait, the wait indicator lingering to be read) without a nested loop
// of its own, often entered from an event (a click that opens a page or a dialog) rather
// than from a call of the host.
//
// The rule it carries: no window, page or dialog is destroyed while a wait of its own is
// on the stack; a close, quit or unload asked meanwhile is carried out once the wait has
// returned. Inside the module, input (close requests among it) is held back during every
// wait (InputBlocker), and a close it swallowed is asked again once the wait has
// returned. The host, which destroys windows and unloads the module by itself, cannot
// see a wait without a loop of its own: the module tells it through the listener, which
// the open-connection entry points at the host's workspace (Desktop::setModuleWaiting).
//
// Scopes nest like the waits that make them; the listener hears true as the outermost
// begins and false as it ends. GUI thread only. Not copyable.
class WaitScope
{
public:
    WaitScope();
    ~WaitScope();

    WaitScope(const WaitScope &) = delete;
    WaitScope &operator=(const WaitScope &) = delete;

    // Whether a wait is on the stack at present.
    static bool isWaiting();

    // Replaces the listener; an empty one hears nothing.
    static void setListener(std::function<void(bool waiting)> listener);
};
