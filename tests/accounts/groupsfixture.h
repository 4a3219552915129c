#pragma once

// Group memberships on the stand-in server, for the groups page, its dialogs and the
// membership lists: the users of the primary domain and of one other local domain with
// the groups each belongs to, among them names that differ only in letter case, a name
// outside ASCII, a 60-byte name and names that need escaping. The server takes ann and Ann
// for the same key: an update of either is refused.

#include "dbconn.h"
#include "dbreq.h"
#include "testserver.h"
#include "usersfixture.h"

#include <QStringList>

namespace GroupsFixture {

using namespace StandIn;

const char* const LongName = "a-user-name-of-exactly-sixty-bytes-made-up-for-the-members!!"; // 60 bytes
const char* const QuotedGroup = "say \"hi\" \\ o'clock";

inline QString longName()
{
    return QString::fromLatin1(LongName);
}

inline void install(TestServer& server)
{
    using UsersFixture::user;
    UsersFixture::install(server);
    const QByteArray jurgen = QStringLiteral("J\u00fcrgen").toUtf8();
    const QByteArray quoted = QByteArray("staff,") + QuotedGroup;
    server.setTable("user", UsersFixture::userColumns(),
                    {user("ann", "", "Ann Lee", "staff"), user("Ann", "", "Ann Other", "solo"),
                     user("bob", "", "Bob Okafor", "support,staff"), user("cid", "", "Cid Varga", ""),
                     user(jurgen.constData(), "", "J\xc3\xbcrgen Wei\xc3\x9f", "staff"),
                     user(longName().toLatin1().constData(), "", "Long Name", "staff"),
                     user("o'neil", "", "Pat O'Neil", quoted.constData()),
                     user("dan", "lakeside.example", "Dan Ross", "staff"),
                     user("ann", "lakeside.example", "Ann Lakeside", "staff")});
    server.setTable("group",
                    {{"name", TypeString, true}, {"domain", TypeString, true},
                     {"description", TypeString}, {"rights", TypeInt}},
                    {{"staff", "", "All staff", "0"}, {"support", "", "Help desk", "1"},
                     {"solo", "", "One member", "7"}, {"empty", "", "", ""},
                     {QuotedGroup, "", "Needs escaping", "0"},
                     {"staff", "lakeside.example", "Lakeside staff", "3"}});
}

// The groups a user of the server belongs to, as the server keeps them.
inline QStringList groupsOf(const TestServer& server, const QString& name, const QString& domain)
{
    for (const QStringList& row : server.rows("user")) {
        if (row.at(0) == name && row.at(1) == domain)
            return row.at(6).isEmpty() ? QStringList() : row.at(6).split(QLatin1Char(','));
    }
    return {QStringLiteral("no such user")};
}

// Sends each statement and waits for it; false at the first the server refuses.
inline bool sendAll(DBConn* conn, const QStringList& statements)
{
    for (const QString& statement : statements) {
        DBReq request(statement, false);
        conn->insert(&request);
        request.wait(false, nullptr);
        if (request.m_status != 0)
            return false;
    }
    return true;
}

} // namespace GroupsFixture
