#include "wndlogdbg.h"

#include "dlglogexpr.h"
#include "wndlogconf.h"

#include <QAction>
#include <QMenu>

WndLogDbg::WndLogDbg(QWidget* parent, DBConn* conn, const DBLOG* log, const char* name,
                     Qt::WindowFlags flags, Desktop* desktop)
    : WndLog(parent, conn, log, name, flags, desktop)
    , m_conn(conn)
{
}

WndLogDbg::~WndLogDbg() = default;

void WndLogDbg::popupMenuCreate(QMenu* menu)
{
    WndLog::popupMenuCreate(menu);
    menu->addSeparator();
    const QString name = objectName();
    const bool console = name == QLatin1String("Corvane_Debug_Log");
    if (name == QLatin1String("Ferrox_Debug_Log"))
        menu->addAction(tr("IP Traffic..."))->setData(int(LogExpressionId));
    menu->addAction(console ? tr("Set log events...") : tr("Messages..."))
        ->setData(int(LogEventsId));
    if (console) {
        menu->addSeparator();
        popupMenuAddStdItem(menu, ClearLog);
    }
}

// Each dialog is a modal child of the view, shown without waiting for it; it deletes
// itself when it closes.
void WndLogDbg::slotPopupMenuSelect(int id)
{
    WndLog::slotPopupMenuSelect(id);
    QDialog* dialog = nullptr;
    if (id == LogEventsId)
        dialog = new WndLogConf(m_conn, &logDescriptor(), this, "log_conf_dlg", true, {});
    else if (id == LogExpressionId)
        dialog = new DlgLogExpr(m_conn, &logDescriptor(), this, "log_conf_expr", true, {});
    if (!dialog)
        return;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}
