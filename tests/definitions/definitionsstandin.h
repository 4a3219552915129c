#pragma once

// A page session whose stand-in server holds known address groups and time ranges, and
// the statements it received since a mark.

#include "pagesession.h"

#include <QStringList>

class DefinitionsStandIn : public PageSession
{
public:
    DefinitionsStandIn()
    {
        using namespace StandIn;
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
        if (!connect())
            qFatal("DefinitionsStandIn: no connection to the stand-in server");
    }

    // One more row of a server table, before a dialog reads it.
    void appendRow(const QString& table, const QStringList& row)
    {
        QList<QStringList> rows = server->rows(table);
        rows.append(row);
        server->setTable(table, server->columns(table), rows);
    }

    void mark() { m_mark = int(server->journal().size()); }
    QStringList journalSinceMark() const { return journalFrom(*server, m_mark); }

private:
    int m_mark = 0;
};
