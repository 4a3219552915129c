#pragma once

#include "wndlog.h"

// The viewer of the server's debug log: the plain viewer with menu entries that open the
// settings of what the server records. Its menu depends on its object name: the console's
// "Corvane_Debug_Log" offers "Set log events..." and "&Clear log"; "Ferrox_Debug_Log"
// adds "IP Traffic..." for the log expression.
class WndLogDbg : public WndLog
{
    Q_OBJECT

public:
    enum DebugMenuId { LogEventsId = 20, LogExpressionId = 21 };

    WndLogDbg(QWidget* parent, DBConn* conn, const DBLOG* log, const char* name,
              Qt::WindowFlags flags, Desktop* desktop);
    ~WndLogDbg() override;

    void popupMenuCreate(QMenu* menu) override;

public slots:
    void slotPopupMenuSelect(int id) override;

private:
    DBConn* m_conn;
};
