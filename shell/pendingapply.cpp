#include "pendingapply.h"

#include "dbconn.h"
#include "dbctrl.h"
#include "dbreq.h"
#include "requestfailure.h"
#include "progresswait.h"

#include <QCoreApplication>
#include <QPointer>

#include <optional>

namespace {

// The statements before index sent were carried out by the server: they are done with.
void dropCarriedOut(DBCtrl* ctrl, int sent)
{
    ctrl->m_pending.erase(ctrl->m_pending.begin(),
                          ctrl->m_pending.begin() + qMin(qsizetype(sent), ctrl->m_pending.size()));
}

} // namespace

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

    int failedStatus = 0;
    QString failure;
    int sent = 0;
    while (sent < ctrl->m_pending.size()) {
        DBReq request(ctrl->m_pending.at(sent), false);
        conn->insert(&request);
        request.wait(false, nullptr);
        if (!guardedConn || !guardedCtrl)
            return ApplyOutcome::Abandoned;
        if (request.m_status != 0) {
            failedStatus = request.m_status;
            failure = request.errorText();
            break;
        }
        ++sent;
    }
    progress.reset();
    if (!guardedConn || !guardedCtrl)
        return ApplyOutcome::Abandoned;

    if (failedStatus == 0) {
        ctrl->apply();
        return ApplyOutcome::Applied;
    }

    dropCarriedOut(ctrl, sent);
    if (failedStatus == 1) {
        // Without the controller: the pending list stays, and the pages keep their edits.
        reportLostConnection(guardedWindow, conn->m_lost, nullptr, conn->m_host);
        return ApplyOutcome::ConnectionLost;
    }
    reportRefusedStatement(guardedWindow, failure);
    return ApplyOutcome::Refused;
}
