#pragma once

// The local recipients the POP3 dialogs look addresses up in: the primary domain with the
// user john, the group sales and the alias info; another domain with the user ann.

#include "accountcolumns.h"
#include "dbtable.h"
#include "domaincolumns.h"
#include "tablebyhand.h"
#include "testserver.h"

namespace RecipientFixture {

using namespace StandIn;

struct Tables
{
    Tables()
    {
        loadByHand(domains, dbcol_domain, {{"corvane.example", "0"}, {"other.example", "1"}}, "domain");
        loadByHand(users, dbcol_user_min, {{"john", "", "John Smith", ""}, {"ann", "other.example", "", ""}}, "user");
        loadByHand(groups, dbcol_group, {{"sales", "", "", "0"}}, "group");
        loadByHand(aliases, dbcol_alias, {{"info", "john", ""}}, "alias");
    }

    DBTable domains, users, groups, aliases;
};

// The same recipients on the stand-in server.
inline void install(TestServer& server)
{
    server.setTable("domain",
                    {{"domain", TypeString, true}, {"type", TypeInt}, {"alias", TypeString}, {"fwhost", TypeString},
                     {"ntauthdomain", TypeString}, {"pamservice", TypeString}, {"kerberosrealm", TypeString}},
                    {{"corvane.example", "0", "", "", "", "", ""}, {"other.example", "1", "", "", "", "", ""}});
    server.setTable("user",
                    {{"name", TypeString, true}, {"domain", TypeString, true}, {"fullname", TypeString},
                     {"description", TypeString}},
                    {{"john", "", "John Smith", ""}, {"ann", "other.example", "", ""}});
    server.setTable("group",
                    {{"name", TypeString, true}, {"domain", TypeString, true}, {"description", TypeString},
                     {"rights", TypeInt}},
                    {{"sales", "", "", "0"}});
    server.setTable("alias", {{"lhs", TypeString, true}, {"rhs", TypeString, true}, {"domain", TypeString, true}},
                    {{"info", "john", ""}});
}

} // namespace RecipientFixture
