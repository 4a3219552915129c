#pragma once

// The stand-in server with known address groups and time ranges, a connection to it, and
// a plain owner window and pending-change controller in place of the main window.

#include "dbctrl.h"
#include "standinconnection.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class DefinitionsStandIn
{
public:
    DefinitionsStandIn()
    {
        using namespace StandIn;
        server = startStandIn();
        server->setTable("ipaccesslist",
                         {{"Name", TypeString, true}, {"Value", TypeString, true}, {"Desc", TypeString, false}},
                         {{"Office", "192.168.10.0/24", "Head office"},
                          {"Relays", "10.20.0.5", "Backup MX"},
                          {"Office", "mx1.example", "Mail host"},
                          {"Blocked", "203.0.113.0/24", "Spam source"}});
        server->setTable("timeintervals",
                         {{"name", TypeString, true}, {"desc", TypeString, true}, {"type", TypeInt, true},
                          {"days", TypeString, false}, {"start", TypeInt, false}, {"end", TypeInt, false}},
                         {{"Office hours", "Weekdays", "1", "12345", "480", "1080"},
                          {"Night", "Every night", "0", "", "1320", "360"},
                          {"Office hours", "Saturday", "1", "6", "540", "720"},
                          {"Odd", "Stored by another tool", "7", "", "1", "2"}});
        conn = std::make_unique<ScopedConnection>(server->port());
        if (!conn->connect())
            qFatal("DefinitionsStandIn: no connection to the stand-in server");
        owner = std::make_unique<QWidget>();
        ctrl = std::make_unique<DBCtrl>();
        conn->get()->m_owner = owner.get();
        conn->get()->m_ctrl = ctrl.get();
    }

    ~DefinitionsStandIn()
    {
        conn.reset();
        ctrl.reset();
        owner.reset();
    }

    DBConn* connection() const { return conn->get(); }

    // The statements received since `mark()`.
    QStringList journalSinceMark() const { return journalFrom(*server, m_mark); }
    void mark() { m_mark = int(server->journal().size()); }

    std::unique_ptr<StandIn::TestServer> server;
    std::unique_ptr<ScopedConnection> conn;
    std::unique_ptr<QWidget> owner;
    std::unique_ptr<DBCtrl> ctrl;

private:
    int m_mark = 0;
};
