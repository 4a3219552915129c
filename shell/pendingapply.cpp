#include "pendingapply.h"

#include "dbconn.h"
#include "dbctrl.h"
#include "requestfailure.h"
#include "progresswait.h"
#include "statementrun.h"

#include <QCoreApplication>
#include <QPointer>

#include <optional>

ApplyOutcome applyPendingStatements(QWidget* window, DBConn* conn, DBCtrl* ctrl)
{
    // Every wait below runs the event loop, in which the window, its controller or its
    // connection could go.
    const QPointer<QWidget> guardedWindow(window);
    const QPointer<DBConn> guardedConn(conn);
    const QPointer<DBCtrl> guardedCtrl(ctrl);

    ctrl->before_apply();
    if (!guardedCtrl)
        return ApplyOutcome::Abandoned;
    if (ctrl->m_pending.isEmpty())
        return ApplyOutcome::Withdrawn;

    std::optional<ProgressWait> progress;
    progress.emplace(window, QCoreApplication::translate("WndProgress", "Transfering data ..."));
    // A copy: the waits let a page hand its statements in again.
    const QStringList statements = ctrl->m_pending;
    StatementRun run(conn, *progress, [&] { return guardedConn && guardedCtrl; });
    run.send(statements);
    progress.reset();
    if (run.abandoned() || !guardedConn || !guardedCtrl)
        return ApplyOutcome::Abandoned;

    if (run.status() == 0) {
        ctrl->apply();
        return ApplyOutcome::Applied;
    }

    // Before any box, whose event loop may let a page hand its statements in again.
    ctrl->carriedOut(statements.mid(0, run.carriedOut()));
    if (run.status() == 1) {
        // Without the controller: the pending list stays, and the pages keep their edits.
        reportLostConnection(guardedWindow, conn->m_lost, nullptr, conn->m_host);
        return ApplyOutcome::ConnectionLost;
    }
    // An aborted statement is told as an aborted load is: a refused one with no text.
    reportRefusedStatement(guardedWindow, run.errorText());
    return run.status() == StatementRun::Aborted ? ApplyOutcome::Aborted : ApplyOutcome::Refused;
}
