// When the module may be unloaded: not while a worker thread of one of its connections
// still runs, because the thread runs the module's code.

#include "wndmain.h"

#include "dbconn.h"
#include "desktop.h"

#include <QList>
#include <QPointer>

#include <utility>

namespace {

struct UnloadRequest
{
    QPointer<Desktop> desktop;
    DLLHANDLE handle;
};

struct UnloadGate
{
    int liveConnections = 0;
    QList<UnloadRequest> waiting;
};

UnloadGate& gate()
{
    static UnloadGate instance;
    return instance;
}

void releaseWaitingRequests()
{
    // An emission may lead to another request: take the list first.
    const QList<UnloadRequest> requests = std::exchange(gate().waiting, {});
    for (const UnloadRequest& request : requests) {
        if (request.desktop)
            request.desktop->close_dll(request.handle);
    }
}

} // namespace

void WndMain::trackConnection(DBConn* connection)
{
    ++gate().liveConnections;
    // destroyed() comes once the connection's destructor has joined its worker thread.
    QObject::connect(connection, &QObject::destroyed, [] {
        if (--gate().liveConnections == 0)
            releaseWaitingRequests();
    });
}

void WndMain::requestUnload(Desktop* desktop, DLLHANDLE handle)
{
    gate().waiting.append({desktop, handle});
    if (gate().liveConnections == 0)
        releaseWaitingRequests();
}

int WndMain::liveConnections()
{
    return gate().liveConnections;
}
