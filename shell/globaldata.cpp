#include "globaldata.h"

#include "dbconn.h"
#include "dbreq.h"
#include "wndmain.h"

#include <QtGlobal>

#include <cstring>

GlobalData globalData;

bool checkSslInstalled(DBConn* conn)
{
    DBReq req(QStringLiteral("SELECT SSLInstalled FROM info"), false);
    conn->insert(&req);
    req.wait(false, nullptr);
    if (req.m_status != 0)
        return false;

    char cell[128] = {};
    int len = int(sizeof cell);
    qint32 installed = 0;
    if (req.read(0, 0, cell, &len))
        std::memcpy(&installed, cell, sizeof installed);
    globalData.sslInstalled = installed != 0;
    globalData.currentDomain = QString(QLatin1String(""));
    return true;
}
