#pragma once

#include <QPointer>
#include <QString>

class DBConn;
class WndMain;

// What the module's pages share across windows. The SSL flag and the current domain
// describe the server whose main window was built last; the main window is the one the
// open-connection entry opened last, and reads null once that window is gone.
struct GlobalData
{
    // From "SELECT SSLInstalled FROM info", at every main window's construction whose
    // query succeeds.
    bool sslInstalled = false;
    // The domain last chosen on a page that offers a domain choice; empty for the primary
    // domain. Emptied when a main window is built and its SSL query succeeds.
    QString currentDomain;
    QPointer<WndMain> mainWindow;
};

extern GlobalData globalData;

// Reads whether the server has SSL installed into globalData and empties its current
// domain. False, changing nothing, when the query fails; an answer without rows reads as
// not installed.
bool checkSslInstalled(DBConn* conn);
