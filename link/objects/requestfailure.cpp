#include "requestfailure.h"

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
    // The box runs an event loop of its own: the owner, the controller and even the
    // connection that holds the flag may go meanwhile, and a second failure met
    // meanwhile must not show a second box. So the flag is set first and nothing
    // unguarded is touched after the box.
    const QPointer<QWidget> guardedOwner(owner);
    const QPointer<DBCtrl> guardedCtrl(ctrl);
    if (!lost) {
        lost = true;
        Dialogs::critical(owner, boxCaption(),
                          QCoreApplication::translate(
                              "DBTable", "Connection failed!\nConsole was disconnected from %1.")
                              .arg(host));
        if (guardedOwner) {
            guardedOwner->setWindowTitle(
                guardedOwner->windowTitle()
                + QCoreApplication::translate("DBTable", " - NOT CONNECTED!"));
        }
    }
    if (guardedCtrl)
        guardedCtrl->reset();
}

void reportRefusedStatement(QWidget *owner, const QString &error)
{
    Dialogs::warning(owner, boxCaption(),
                     QCoreApplication::translate("DBTable", "Query failed: %1").arg(error));
}
