#pragma once

// The users page's company with templates of every kind: one for all domains, one bound to
// another local domain, one bound to the primary domain by its name (its groups stored in
// descending order) and one bound to a domain that no longer exists.

#include "usersfixture.h"

namespace TemplatesFixture {

using namespace StandIn;

inline QList<Column> templateColumns()
{
    return {{"tempname", TypeString, true}, {"domain", TypeString}, {"description", TypeString},
            {"auth_type", TypeInt}, {"rights", TypeInt}, {"groups", TypeIdList},
            {"qstorage", TypeInt64}, {"qmessage", TypeInt}, {"sentfolder", TypeString},
            {"draftfolder", TypeString}, {"hidefldlist", TypeInt}, {"showsub", TypeInt},
            {"msgperpage", TypeInt}, {"preflang", TypeString}};
}

// tempname, domain, description, groups, then the rest as one mailbox of 100 MB.
inline QStringList templateRow(const char* name, const char* domain, const char* description,
                               const char* groups, const char* authType = "0",
                               const char* preflang = "en")
{
    return {name, domain, description, authType, "0", groups, "104857600", "5000", "Sent",
            "Drafts", "0", "0", "20", preflang};
}

inline void install(TestServer& server)
{
    UsersFixture::install(server);
    server.setTable("template", templateColumns(),
                    {templateRow("standard", "", "Standard mailbox", ""),
                     templateRow("lakeside-sales", "lakeside.example", "Lakeside sales", "sales"),
                     templateRow("head-office", "corvane.example", "Head office", "support,staff",
                                 "2"),
                     templateRow("legacy", "old.com", "From the old server", "", "0", "")});
}

} // namespace TemplatesFixture
