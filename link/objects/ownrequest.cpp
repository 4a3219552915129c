#include "ownrequest.h"

#include "dbconn.h"
#include "dbreq.h"
#include "dialogseam.h"
#include "requestfailure.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

void tellOperationFailed()
{
    Dialogs::warning(nullptr, QCoreApplication::translate("OwnRequest", "Error"),
                     QCoreApplication::translate("OwnRequest", "Operation failed."),
                     QMessageBox::Ok);
}

} // namespace

OwnRequest sendOwnRequest(DBConn *conn, DBReq &request, const QObject *owner)
{
    const QPointer<const QObject> alive(owner);
    if (!conn) {
        tellOperationFailed();
        return alive ? OwnRequest::Failed : OwnRequest::OwnerGone;
    }
    conn->insert(&request);
    request.wait(false, nullptr);
    if (!alive)
        return OwnRequest::OwnerGone;
    if (request.m_status == 0)
        return OwnRequest::Answered;
    reportOwnRequestFailure(conn, request);
    return alive ? OwnRequest::Failed : OwnRequest::OwnerGone;
}

void reportOwnRequestFailure(DBConn *conn, const DBReq &request)
{
    if (request.m_status == 0)
        return;
    if (request.m_status == 1 && conn) {
        reportRequestFailure(conn, &request, 0);
        return;
    }
    tellOperationFailed();
}
