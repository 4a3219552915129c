#pragma once

// What a page sees of a main window, against the stand-in server in process: a connection
// whose failure boxes go over an owner window, and the pending-change controller that the
// window would hand its pages. Set the server's tables before the page loads them.

#include "dbctrl.h"
#include "standinconnection.h"

#include <QWidget>

#include <memory>

struct PageSession
{
    PageSession()
        : server(startStandIn())
    {
    }
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;

    // Connects; false when the connection did not come up.
    bool connect()
    {
        conn = std::make_unique<ScopedConnection>(server->port());
        if (!conn->connect())
            return false;
        conn->get()->m_owner = &owner;
        conn->get()->m_ctrl = &ctrl;
        return true;
    }

    DBConn* connection() const { return conn->get(); }

    std::unique_ptr<StandIn::TestServer> server;
    QWidget owner;
    DBCtrl ctrl;
    std::unique_ptr<ScopedConnection> conn; // ends before the controller it names
};
