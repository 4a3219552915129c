#include "requestfailure.h"

#include "dbconn.h"
#include "dbctrl.h"
#include "dialogseam.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace {

QString boxCaption()
{
    return QCoreApplication::translate("DBTable", "Ornel Corvane Administration");
}

} // namespace

void reportLostConnection(QWidget *owner, bool &lost, DBCtrl *ctrl, const QString &host)
{
    const QPointer<DBCtrl> guardedCtrl(ctrl);
    announceLostConnection(
        owner, owner, lost, boxCaption(),
        QCoreApplication::translate("DBTable", "Connection failed!\nConsole was disconnected from %1.")
            .arg(host));
    if (guardedCtrl)
        guardedCtrl->reset();
}

void announceLostConnection(QWidget *boxParent, QWidget *mainWindow, bool &lost,
                            const QString &caption, const QString &text)
{
    // The box runs an event loop of its own: the windows and even the connection that
    // holds the flag may go meanwhile, and a second failure met meanwhile must not show a
    // second box. So the flag is set first and nothing unguarded is touched after the box.
    if (lost)
        return;
    lost = true;
    const QPointer<QWidget> guardedMainWindow(mainWindow);
    Dialogs::critical(boxParent, caption, text);
    if (guardedMainWindow) {
        guardedMainWindow->setWindowTitle(guardedMainWindow->windowTitle()
                                          + QCoreApplication::translate("DBTable", " - NOT CONNECTED!"));
    }
}

bool connectionLost(const DBConn *conn)
{
    return conn && conn->m_lost;
}

void reportRefusedStatement(QWidget *owner, const QString &error)
{
    Dialogs::warning(owner, boxCaption(),
                     QCoreApplication::translate("DBTable", "Query failed: %1").arg(error));
}
