#pragma once

// A small mail server's delivery data on the stand-in server, for the delivery pages: three
// ETRN entries (two for one server), a queue of four messages and four connections.

#include "dbcol.h"
#include "dbrow.h"
#include "pagesession.h"
#include "pendingapply.h"
#include "testserver.h"

#include <QAbstractButton>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace DeliveryFixture {

using namespace StandIn;

inline QList<Column> etrnColumns()
{
    return {{"server", TypeString, true}, {"domain", TypeString, true}, {"auth", TypeInt},
            {"user", TypeString}, {"password", TypePwd}};
}

inline QList<Column> schedColumns()
{
    return {{"timetype", TypeInt, true}, {"time", TypeInt, true}, {"timeint", TypeString, true},
            {"enabled", TypeInt},        {"desc", TypeString},    {"allowdial", TypeInt},
            {"action", TypeInt}};
}

inline QList<Column> timeColumns()
{
    return {{"name", TypeString, true}, {"desc", TypeString, true}, {"type", TypeInt, true},
            {"days", TypeString},       {"start", TypeInt},         {"end", TypeInt}};
}

// Two time ranges, "Night" and "Office".
inline QList<QStringList> timeRanges()
{
    return {{"Night", "n", "0", "", "1320", "360"}, {"Office", "o", "1", "12345", "480", "1080"}};
}

// Id, Create, NextTry, Size, From, To.
inline QList<QStringList> queue()
{
    return {{"Q100", "2026-12-07 08:00:00", "2026-12-07 09:00:00", "1234", "ann@corvane.example", "x@partner.example"},
            {"Q'2\"", "2026-12-07 07:00:00", "2026-12-07 09:30:00", "999", "bob@corvane.example", "y@partner.example"},
            {"Q300", "2026-12-06 23:00:00", "2026-12-07 10:00:00", "1048576", "cid@corvane.example", "z@partner.example"},
            {"Q400", "2026-12-07 08:30:00", "2026-12-07 08:45:00", "", "dan@corvane.example", "w@partner.example"}};
}

// protocol, secure, time, from, user, info.
inline QList<QStringList> connections()
{
    return {{"SMTP", "1", "3661", "10.0.0.10", "", "receiving"},
            {"IMAP", "0", "360000", "10.0.0.2", "ann", "INBOX"},
            {"POP3", "7", "59", "not an address", "bob", "download"},
            {"HTTP", "", "0", "192.168.1.1", "cid", "web mail"}};
}

inline void install(TestServer& server)
{
    server.setTable("odmr", etrnColumns(),
                    {{"mx.isp.example", "corvane.example", "1", "corvane", "secret"},
                     {"mx.isp.example", "lakeside.example;harbour.example", "0", "", ""},
                     {"relay.example", "corvane.example", "2", "relay", "pw"}});
    server.setQueue(queue());
    server.setConnections(connections());
}

// Every statement the server received, in order.
inline QStringList statements(const TestServer& server, int from = 0)
{
    QStringList texts;
    const QList<JournalEntry> journal = server.journal();
    for (int i = from; i < journal.size(); ++i)
        texts << journal.at(i).statement;
    return texts;
}

// An edit as the administrator makes it: `item` made current, `edit` clicked (the test's
// recorder works the dialog), then what is pending applied as the main window's Apply
// applies it. The statements the server received meanwhile; null when the apply did not go
// through.
inline QStringList editedThenApplied(QTreeWidget* list, QTreeWidgetItem* item,
                                     QAbstractButton* edit, PageSession& session)
{
    list->setCurrentItem(item);
    QTest::mouseClick(edit, Qt::LeftButton);
    const int mark = int(session.server->journal().size());
    if (applyPendingStatements(&session.owner, session.connection(), &session.ctrl)
        != ApplyOutcome::Applied)
        return QStringList();
    return statements(*session.server, mark);
}

// A row of `columns` with these texts, in column order, for the item tests.
inline std::unique_ptr<DBRow> row(const DBCOL* columns, const QStringList& texts)
{
    auto made = std::make_unique<DBRow>(columns);
    for (int i = 0; i < texts.size() && size_t(i) < made->m_values.size(); ++i) {
        if (!texts.at(i).isNull())
            made->m_values.at(size_t(i))->set(texts.at(i));
    }
    return made;
}

} // namespace DeliveryFixture
