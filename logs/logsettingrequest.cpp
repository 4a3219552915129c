#include "logsettingrequest.h"

#include "dbconn.h"
#include "dbreq.h"
#include "dialogseam.h"
#include "requestfailure.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

bool sendLogSetting(QWidget* parent, DBConn* conn, const QString& statement)
{
    if (!conn)
        return false;
    // The wait processes events: whatever goes meanwhile is not touched afterwards.
    const QPointer<QWidget> box(parent);
    const QPointer<DBConn> connection(conn);
    DBReq request(statement, true);
    conn->insert(&request);
    request.wait(false, parent);
    if (request.m_status == 0)
        return true;
    if (request.m_status == 1) {
        if (connection)
            reportRequestFailure(connection, &request, 0);
        return false;
    }
    Dialogs::warning(box, QCoreApplication::translate("WndLogConf", "Error"),
                     QCoreApplication::translate("WndLogConf", "Operation failed."));
    return false;
}
