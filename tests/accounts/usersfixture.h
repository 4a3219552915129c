#pragma once

// A small company's account tables on the stand-in server, for the users page and its
// dialogs: two local domains, an alias and a forwarding domain, users in both local
// domains (two that differ only in letter case), three groups and one template.

#include "testserver.h"

#include <QStringList>

namespace UsersFixture {

using namespace StandIn;

inline QList<Column> userColumns()
{
    return {{"name", TypeString, true}, {"domain", TypeString, true}, {"account_enabled", TypeInt},
            {"auth_type", TypeInt}, {"rights", TypeInt}, {"password", TypePwd}, {"groups", TypeIdList},
            {"qstorage", TypeInt64}, {"qmessage", TypeInt}, {"fullname", TypeString},
            {"description", TypeString}, {"sentfolder", TypeString}, {"draftfolder", TypeString},
            {"hidefldlist", TypeInt}, {"showsub", TypeInt}, {"msgperpage", TypeInt},
            {"preflang", TypeString}, {"pin", TypePwd}};
}

// name, domain, then the rest in column order.
inline QStringList user(const char* name, const char* domain, const char* fullname,
                        const char* groups = "staff", const char* qstorage = "0",
                        const char* authType = "0")
{
    return {name, domain, "1", authType, "1", "secret", groups, qstorage, "100", fullname, "",
            "Sent", "Drafts", "0", "1", "20", "en", ""};
}

inline void install(TestServer& server)
{
    server.setTable("domain",
                    {{"domain", TypeString, true}, {"type", TypeInt}, {"alias", TypeString},
                     {"fwhost", TypeString}, {"ntauthdomain", TypeString}, {"pamservice", TypeString},
                     {"kerberosrealm", TypeString}},
                    {{"corvane.example", "0", "", "", "", "", ""},
                     {"corvane-mail.example", "2", "corvane.example", "", "", "", ""},
                     {"lakeside.example", "1", "", "", "", "", ""},
                     {"harbour-relay.example", "3", "", "mx1.harbour-relay.example", "", "", ""}});
    server.setTable("user", userColumns(),
                    {user("ann", "", "ann lee"), user("bob", "", "Bob Okafor", "support,staff"),
                     user("cid", "", "Cid Varga", "", "1536"), user("Ann", "", "Ann Other"),
                     user("john", "", "john smith"), user("eve", "", "Eve Stone", "staff", "0", "2"),
                     user("dan", "lakeside.example", "Dan Ross")});
    server.setTable("group",
                    {{"name", TypeString, true}, {"domain", TypeString, true},
                     {"description", TypeString}, {"rights", TypeInt}},
                    {{"staff", "", "All staff", "0"}, {"support", "", "Help desk", "1"},
                     {"sales", "lakeside.example", "Sales team", "0"}});
    server.setTable("template",
                    {{"tempname", TypeString, true}, {"domain", TypeString}, {"description", TypeString},
                     {"auth_type", TypeInt}, {"rights", TypeInt}, {"groups", TypeIdList},
                     {"qstorage", TypeInt64}, {"qmessage", TypeInt}, {"sentfolder", TypeString},
                     {"draftfolder", TypeString}, {"hidefldlist", TypeInt}, {"showsub", TypeInt},
                     {"msgperpage", TypeInt}, {"preflang", TypeString}},
                    {{"standard", "", "Standard user", "0", "0", "staff", "0", "0", "Sent", "Drafts", "0",
                      "0", "20", "en"}});
}

} // namespace UsersFixture
