// The open-connection entry: connects to a server and opens its main window in the
// host's workspace, or tells the administrator why it could not.

#include "ornelplugin.h"

#include "dbconn.h"
#include "desktop.h"
#include "errormessages.h"
#include "globaldata.h"
#include "inputblocker.h"
#include "waitscope.h"
#include "wndmain.h"
#include "wndprogress.h"
#include "workspaceframe.h"

#include <QEventLoop>
#include <QPointer>

namespace {

constexpr int MinimumWidth = 500;
constexpr int MinimumHeight = 300;
constexpr int CascadeOffset = 22;
// Waits, holding the administrator's input back, until a connection that was told to stop
// has destroyed itself, which includes the end of its worker thread: a failed call leaves
// nothing of the module running, and the host may unload the module as soon as it returns.
// Stopping calls the worker's connect, greeting read and session off at once; only a name
// lookup still under way holds it, for no longer than the resolver's own time-outs.
void waitUntilGone(const QPointer<DBConn>& conn)
{
    if (!conn)
        return;
    const WaitScope onStack;
    const InputBlocker block;
    QEventLoop loop;
    QObject::connect(conn.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

// The host destroys none of the module's windows while a wait of the module is on the
// stack; it learns of them through its workspace.
void tellWaitsTo(const QPointer<Desktop>& workspace)
{
    WaitScope::setListener([workspace](bool waiting) {
        if (workspace)
            workspace->setModuleWaiting(waiting);
    });
}

// A new window follows a maximised predecessor; otherwise it is at least 500 by 300 with
// its frame and stands 22 pixels right of and below its predecessor.
void place(WndMain* window, QWidget* previous)
{
    if (previous && isMaximizedInWorkspace(previous)) {
        window->showMaximized();
        return;
    }
    window->show();
    if (window->isMaximizedInWorkspace())
        return;
    if (window->width() < MinimumWidth || window->height() < MinimumHeight)
        outerWindow(window)->resize(MinimumWidth, MinimumHeight);
    if (previous)
        outerWindow(window)->move(outerWindow(previous)->pos() + QPoint(CascadeOffset, CascadeOffset));
}

} // namespace

extern "C" void module_connect(Desktop* desktop, qint32 socket, const char* host,
                               const char* port, const char* user, const char* password,
                               quint32 /*reserved*/, DLLHANDLE handle, qint32 mode)
{
    if (!desktop)
        return;
    const QPointer<Desktop> workspace(desktop);
    WndProgress::setDefaultParent(desktop->window());
    tellWaitsTo(workspace);

    const QPointer<DBConn> conn = new DBConn(host, port, user, password, socket);
    WndMain::trackConnection(conn);

    // The connection is read before it is told to stop, and only through the guard after:
    // once stopped it destroys itself.
    if (!conn->connwait(true, nullptr)) {
        // An abort is final, whatever the connection does after it.
        conn->stop();
        if (workspace)
            show_error_message(workspace->parentWidget(), 0);
        waitUntilGone(conn);
        return;
    }
    if (conn->m_state.load() != DBConn::Connected || !workspace) {
        const unsigned int code = unsigned(conn->m_code.load());
        // Without the workspace the console is going away: there is nobody to tell.
        if (workspace)
            show_error_message(workspace->parentWidget(), code);
        if (conn)
            conn->stop();
        waitUntilGone(conn);
        return;
    }

    const QPointer<QWidget> previous = workspace->activeWindow();
    // The window attaches itself and its pending list to the connection before it loads
    // anything.
    auto* window = new WndMain(conn, handle, mode, workspace);
    place(window, previous);
    globalData.mainWindow = window;
}
